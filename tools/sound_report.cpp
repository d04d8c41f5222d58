// skarnwing-sound-report: prints, for every sound and music file of the game, its length,
// peak and RMS level, and for the looping sounds the step between the last and the first
// sample, so the sounds can be judged without speakers.
//
// Usage: skarnwing-sound-report [SOUND_DIR]   (default Files/Sound)
#include <mpg123.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound_inventory.h"

namespace {

struct Pcm {
  int rate = 0, channels = 0;
  std::vector<int16_t> samples;  // interleaved
};

uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }

// Walks the RIFF chunks for "fmt " and "data"; only 16-bit PCM is accepted.
bool readWav(const std::string& path, Pcm& pcm) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4)) {
    std::fprintf(stderr, "%s: missing or not a RIFF/WAVE file\n", path.c_str());
    return false;
  }
  bool haveFormat = false;
  for (size_t at = 12; at + 8 <= b.size();) {
    uint32_t length = le32(&b[at + 4]);
    const unsigned char* body = &b[at + 8];
    if (length > b.size() - at - 8) break;
    if (!std::memcmp(&b[at], "fmt ", 4) && length >= 16) {
      pcm.channels = body[2] | body[3] << 8;
      pcm.rate = (int)le32(body + 4);
      haveFormat = (body[0] | body[1] << 8) == 1 && (body[14] | body[15] << 8) == 16;
    } else if (!std::memcmp(&b[at], "data", 4) && haveFormat && pcm.channels > 0) {
      pcm.samples.resize(length / 2);
      std::memcpy(pcm.samples.data(), body, pcm.samples.size() * 2);
      return true;
    }
    at += 8 + length + (length & 1);
  }
  std::fprintf(stderr, "%s: no 16-bit PCM format and data chunk\n", path.c_str());
  return false;
}

bool readMp3(const std::string& path, Pcm& pcm) {
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  if (!mh || mpg123_open(mh, path.c_str()) != MPG123_OK) {
    std::fprintf(stderr, "%s: cannot open as MP3\n", path.c_str());
    if (mh) mpg123_delete(mh);
    return false;
  }
  long rate;
  int channels, encoding;
  mpg123_getformat(mh, &rate, &channels, &encoding);
  pcm.rate = (int)rate, pcm.channels = channels;
  unsigned char buffer[16384];
  size_t done = 0;
  int err;
  do {
    err = mpg123_read(mh, buffer, sizeof buffer, &done);
    size_t old = pcm.samples.size();
    pcm.samples.resize(old + done / 2);
    std::memcpy(pcm.samples.data() + old, buffer, done / 2 * 2);
  } while (err == MPG123_OK || err == MPG123_NEW_FORMAT);
  mpg123_close(mh);
  mpg123_delete(mh);
  if (err != MPG123_DONE || pcm.samples.empty()) {
    std::fprintf(stderr, "%s: MP3 decoding failed\n", path.c_str());
    return false;
  }
  return true;
}

double dbfs(double linear) { return linear > 0 ? 20 * std::log10(linear) : -120.0; }

void report(const char* name, const Pcm& pcm, bool loops) {
  const size_t frames = pcm.samples.size() / pcm.channels;
  double peak = 0, sum = 0;
  for (int16_t s : pcm.samples) {
    peak = std::fmax(peak, std::fabs(s / 32768.0));
    sum += (s / 32768.0) * (s / 32768.0);
  }
  double rms = std::sqrt(sum / std::fmax(1.0, (double)pcm.samples.size()));
  std::printf("%-13s %5d Hz %d ch %8.3f s  peak %6.1f dBFS  RMS %6.1f dBFS", name, pcm.rate,
              pcm.channels, (double)frames / pcm.rate, dbfs(peak), dbfs(rms));
  if (loops && frames > 1) {
    // The seam step set against the typical step between neighbouring samples.
    double seam = 0, steps = 0;
    for (int c = 0; c < pcm.channels; ++c) {
      seam = std::fmax(seam, std::fabs(pcm.samples[c] - pcm.samples[(frames - 1) * pcm.channels + c]));
      for (size_t i = 1; i < frames; ++i) {
        double d = pcm.samples[i * pcm.channels + c] - pcm.samples[(i - 1) * pcm.channels + c];
        steps += d * d;
      }
    }
    double rmsStep = std::sqrt(steps / (double)(pcm.channels * (frames - 1)));
    std::printf("  seam step %5.0f (%.2f x RMS step)", seam, seam / std::fmax(1.0, rmsStep));
  }
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "Files/Sound";
  mpg123_init();
  int failures = 0;
  for (const SoundFile& file : kSoundFiles) {
    Pcm pcm;
    if (readWav(dir + "/" + file.name, pcm)) report(file.name, pcm, file.loops);
    else ++failures;
  }
  for (const char* name : kMusicFiles) {
    Pcm pcm;
    if (readMp3(dir + "/" + name, pcm)) report(name, pcm, false);
    else ++failures;
  }
  return failures ? 1 : 0;
}
