// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-synth: renders one sound-effect recipe into a 44100 Hz 16-bit stereo WAV file.
//
// Usage: skarnwing-synth RECIPE OUTPUT.wav [INPUT_DIR]
//
// A recipe is a text file of lines; '#' starts a comment. Header lines:
//   length S        length of the file in seconds
//   peak DB         the loudest sample is scaled to this level (dBFS, below 0)
//   seed N          seed of the noise generator (output is the same on every run)
//   drive D         soft saturation of the mix (tanh, D about 1-4): denser, heavier sound
//   loop            the file loops: rates are rounded to whole cycles per loop, layers
//                   wrap around the end and filters start in their steady state, so the
//                   last sample leads into the first one without a step
//   chunked         write a chunk-walked file (a LIST chunk before "fmt ", a "smpl" chunk
//                   with the loop points before "data") instead of the plain 44-byte header
// Layer lines: a kind (tone, noise, file) followed by key=value pairs:
//   start dur gain(dB) attack decay(exponential time constant) release every(period of a
//   repeated envelope) on(gate length within that period) pan(-1..1) width(0..1, noise only) lp lpto hp q (2-pole filters, Hz)
//   am depth (sine tremolo, Hz and 0..1) tone: wave(sine|saw|square|tri) freq to(sweep end)
//   vib cents (vibrato) noise: density(0..1, sparse crackle)  file: name (raw s16 mono
//   44100 Hz, looked up in INPUT_DIR)
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

struct Layer {
    std::string kind;
    std::map<std::string, std::string> params;
    int line = 0;
};

struct Recipe {
    double length = 1.0;
    double peakDb = -3.0;
    double drive = 0;
    uint64_t seed = 1;
    bool loop = false;
    bool chunked = false;
    std::vector<Layer> layers;
};

// Deterministic noise: splitmix64, uniform in [-1, 1).
struct Random {
    uint64_t state;
    double next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return (double)(z >> 11) / (double)(1ull << 52) - 1.0;
    }
};

// Two-pole filter (RBJ biquad), low- or high-pass; coefficients may change per sample.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    void set(bool high, double hz, double q) {
        hz = std::fmin(std::fmax(hz, 10.0), kRate * 0.45);
        double w = 2 * kPi * hz / kRate, alpha = std::sin(w) / (2 * q), c = std::cos(w);
        double a0 = 1 + alpha;
        b1 = (high ? -(1 + c) : (1 - c)) / a0;
        b0 = b2 = (high ? (1 + c) / 2 : (1 - c) / 2) / a0;
        a1 = -2 * c / a0;
        a2 = (1 - alpha) / a0;
    }
    double run(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

double number(const Layer& layer, const char* key, double fallback) {
    auto it = layer.params.find(key);
    return it == layer.params.end() ? fallback : std::atof(it->second.c_str());
}

std::string text(const Layer& layer, const char* key, const char* fallback) {
    auto it = layer.params.find(key);
    return it == layer.params.end() ? fallback : it->second;
}

bool parseRecipe(const char* path, Recipe& recipe) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "skarnwing-synth: cannot read recipe %s\n", path);
        return false;
    }
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (auto hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        std::istringstream words(line);
        std::string head;
        if (!(words >> head)) continue;
        if (head == "length") words >> recipe.length;
        else if (head == "peak") words >> recipe.peakDb;
        else if (head == "seed") words >> recipe.seed;
        else if (head == "drive") words >> recipe.drive;
        else if (head == "loop") recipe.loop = true;
        else if (head == "chunked") recipe.chunked = true;
        else if (head == "tone" || head == "noise" || head == "file") {
            Layer layer{head, {}, lineNo};
            for (std::string pair; words >> pair;) {
                auto eq = pair.find('=');
                if (eq == std::string::npos) {
                    std::fprintf(stderr, "skarnwing-synth: %s:%d: expected key=value, got '%s'\n", path, lineNo,
                                 pair.c_str());
                    return false;
                }
                layer.params[pair.substr(0, eq)] = pair.substr(eq + 1);
            }
            static const std::set<std::string> known = {
                "start", "dur", "gain", "attack", "decay", "release", "every", "on",  "pan",   "width",   "lp",  "lpto",
                "hp",    "q",   "am",   "depth",  "wave",  "freq",    "to",    "vib", "cents", "density", "name"};
            for (const auto& [key, value] : layer.params)
                if (!known.count(key)) {
                    std::fprintf(stderr, "skarnwing-synth: %s:%d: unknown key '%s'\n", path, lineNo, key.c_str());
                    return false;
                }
            if (number(layer, "start", 0) < 0 || number(layer, "dur", 1) <= 0 || number(layer, "freq", 1) <= 0) {
                std::fprintf(stderr, "skarnwing-synth: %s:%d: start, dur and freq must be positive\n", path, lineNo);
                return false;
            }
            recipe.layers.push_back(layer);
        } else {
            std::fprintf(stderr, "skarnwing-synth: %s:%d: unknown line '%s'\n", path, lineNo, head.c_str());
            return false;
        }
    }
    // 90 s of 16-bit stereo stays under the game's 16 MB limit on a WAV file.
    if (!(recipe.length > 0 && recipe.length < 90) || recipe.layers.empty()) {
        std::fprintf(stderr, "skarnwing-synth: %s: needs a length of 0-90 s and a layer\n", path);
        return false;
    }
    return true;
}

// In a loop of `loopSeconds`, a rate becomes the nearest whole number of cycles per loop.
double snapRate(double hz, double loopSeconds, bool loop) {
    if (!loop || hz <= 0) return hz;
    return std::fmax(1.0, std::round(hz * loopSeconds)) / loopSeconds;
}

double polyBlep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1;
    }
    if (phase > 1 - step) {
        double t = (phase - 1) / step;
        return t * t + t + t + 1;
    }
    return 0;
}

bool readRaw(const std::string& path, std::vector<double>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "skarnwing-synth: cannot read input %s\n", path.c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back((int16_t)((uint8_t)bytes[i] | ((uint8_t)bytes[i + 1] << 8)) / 32768.0);
    return true;
}

// Renders one layer into the two channel buffers (each `total` samples long).
bool renderLayer(const Recipe& recipe, const Layer& layer, size_t index, const std::string& inputDir,
                 std::vector<double>& left, std::vector<double>& right) {
    const size_t total = left.size();
    const bool loop = recipe.loop;
    const double start = number(layer, "start", 0);
    const double dur = number(layer, "dur", recipe.length - start);
    const size_t first = (size_t)std::lround(start * kRate);
    size_t count = (size_t)std::lround(dur * kRate);
    const bool wholeLoop = loop && count >= total; // a steady layer that spans the loop
    if (wholeLoop) count = total;

    Random random{recipe.seed * 1000003ull + index * 7919ull};
    Random other{recipe.seed * 2000029ull + index * 104729ull};
    std::vector<double> source;
    if (layer.kind == "file") {
        if (!readRaw(inputDir + "/" + text(layer, "name", ""), source)) return false;
        count = std::min(count, source.size());
    }

    const double loopSeconds = (double)total / kRate;
    const double freq = snapRate(number(layer, "freq", 440), loopSeconds, loop);
    const double freqTo = loop ? freq : number(layer, "to", freq);
    const double vib = snapRate(number(layer, "vib", 0), loopSeconds, loop);
    // Linear deviation, so that the mean frequency (and the phase over a loop) is unchanged.
    const double vibRatio = std::pow(2.0, number(layer, "cents", 0) / 1200) - 1;
    const double am = snapRate(number(layer, "am", 0), loopSeconds, loop);
    const double amDepth = number(layer, "depth", 0.5);
    double every = number(layer, "every", 0);
    if (loop && every > 0) every = loopSeconds / std::fmax(1.0, std::round(loopSeconds / every));
    const double gate = number(layer, "on", 0);
    const double attack = number(layer, "attack", wholeLoop ? 0 : 0.002);
    const double decay = number(layer, "decay", 0);
    const double release = number(layer, "release", wholeLoop ? 0 : 0.005);
    const double gain = std::pow(10.0, number(layer, "gain", 0) / 20);
    const double pan = number(layer, "pan", 0), width = number(layer, "width", 0);
    const double density = number(layer, "density", 1);
    const double lp = number(layer, "lp", 0), lpTo = number(layer, "lpto", lp);
    const double hp = number(layer, "hp", 0), q = number(layer, "q", 0.707);
    const std::string wave = text(layer, "wave", "sine");

    // Raw source, two channels (noise is decorrelated by `width`).
    std::vector<double> rawL(count), rawR(count);
    double phase = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = (double)i / kRate, progress = count > 1 ? (double)i / (count - 1) : 0;
        double a, b;
        if (layer.kind == "noise") {
            a = random.next();
            b = (1 - width) * a + width * other.next();
            if (density < 1 && (random.next() * 0.5 + 0.5) > density) a = b = 0;
        } else if (layer.kind == "file") {
            a = b = source[i];
        } else {
            double f = freq * std::pow(freqTo / freq, progress);
            if (vib > 0) f *= 1 + vibRatio * std::sin(2 * kPi * vib * t);
            double step = f / kRate;
            if (wave == "saw") a = 2 * phase - 1 - polyBlep(phase, step);
            else if (wave == "square")
                a = (phase < 0.5 ? 1 : -1) + polyBlep(phase, step) - polyBlep(std::fmod(phase + 0.5, 1), step);
            else if (wave == "tri") a = 1 - 4 * std::fabs(phase - 0.5);
            else a = std::sin(2 * kPi * phase);
            b = a;
            phase = std::fmod(phase + step, 1.0);
        }
        rawL[i] = a, rawR[i] = b;
    }

    // Filters; a layer spanning the whole loop is filtered twice round so that its
    // filter state at the start is the one it has at the end.
    if (lp > 0 || hp > 0) {
        for (auto* channel : {&rawL, &rawR}) {
            Biquad low, high;
            std::vector<double>& x = *channel;
            std::vector<double> y(count);
            for (int pass = wholeLoop ? 0 : 1; pass < 2; ++pass)
                for (size_t i = 0; i < count; ++i) {
                    double v = x[i];
                    if (lp > 0) {
                        low.set(false, lp * std::pow(lpTo / lp, count > 1 ? (double)i / (count - 1) : 0), q);
                        v = low.run(v);
                    }
                    if (hp > 0) {
                        high.set(true, hp, q);
                        v = high.run(v);
                    }
                    y[i] = v;
                }
            x = y;
        }
    }

    const double gainL = gain * std::fmin(1.0, 1 - pan), gainR = gain * std::fmin(1.0, 1 + pan);
    for (size_t i = 0; i < count; ++i) {
        double t = (double)i / kRate;
        double local = every > 0 ? std::fmod(t, every) : t;
        double env = 1;
        if (attack > 0 && local < attack) env *= local / attack;
        if (decay > 0) env *= std::exp(-local / decay);
        if (gate > 0) env *= std::fmin(1.0, std::fmax(0.0, (gate - local) / 0.003));
        double left_of_layer = (double)(count - i) / kRate;
        if (release > 0 && left_of_layer < release) env *= left_of_layer / release;
        if (am > 0) env *= 1 - amDepth * (0.5 + 0.5 * std::sin(2 * kPi * am * t));
        size_t at = first + i;
        if (loop) at %= total;
        else if (at >= total) break;
        left[at] += rawL[i] * env * gainL;
        right[at] += rawR[i] * env * gainR;
    }
    return true;
}

void put16(std::string& out, uint32_t v) { out += (char)(v & 0xFF), out += (char)(v >> 8); }
void put32(std::string& out, uint32_t v) { put16(out, v & 0xFFFF), put16(out, v >> 16); }

// The canonical layout, or with a LIST chunk before "fmt " and a "smpl" chunk after it.
std::string wavBytes(const std::vector<int16_t>& samples, bool chunked, bool loop) {
    uint32_t dataBytes = (uint32_t)samples.size() * 2, frames = (uint32_t)samples.size() / 2;
    std::string fmt = "fmt ";
    put32(fmt, 16), put16(fmt, 1), put16(fmt, 2), put32(fmt, kRate), put32(fmt, kRate * 4);
    put16(fmt, 4), put16(fmt, 16);
    std::string before, between;
    if (chunked) {
        std::string info = "INFOISFT";
        std::string name = "Skarnwing synth"; // 15 characters and a NUL: even length
        put32(info, (uint32_t)name.size() + 1), info += name, info += '\0';
        before = "LIST", put32(before, (uint32_t)info.size()), before += info;
        between = "smpl";
        put32(between, 36 + 24);
        for (uint32_t v : {0u, 0u, 1000000000u / kRate, 60u, 0u, 0u, 0u, 1u, 0u}) put32(between, v);
        for (uint32_t v : {0u, 0u, 0u, loop ? frames - 1 : 0u, 0u, 0u}) put32(between, v);
    }
    std::string out = "RIFF";
    put32(out, (uint32_t)(4 + before.size() + fmt.size() + between.size() + 8 + dataBytes));
    out += "WAVE" + before + fmt + between + "data";
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, (uint16_t)s);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: skarnwing-synth RECIPE OUTPUT.wav [INPUT_DIR]\n");
        return 2;
    }
    Recipe recipe;
    if (!parseRecipe(argv[1], recipe)) return 1;
    const std::string inputDir = argc > 3 ? argv[3] : ".";
    const size_t total = (size_t)std::lround(recipe.length * kRate);
    std::vector<double> left(total), right(total);
    for (size_t i = 0; i < recipe.layers.size(); ++i)
        if (!renderLayer(recipe, recipe.layers[i], i, inputDir, left, right)) return 1;

    double peak = 0;
    for (size_t i = 0; i < total; ++i) peak = std::fmax(peak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
    if (peak <= 0) {
        std::fprintf(stderr, "skarnwing-synth: %s renders to silence\n", argv[1]);
        return 1;
    }
    if (recipe.drive > 0) {
        for (auto* channel : {&left, &right})
            for (double& v : *channel) v = std::tanh(recipe.drive * v / peak);
        peak = std::tanh(recipe.drive);
    }
    const double scale = std::pow(10.0, recipe.peakDb / 20) / peak;
    std::vector<int16_t> samples(total * 2);
    for (size_t i = 0; i < total; ++i) {
        // A one-shot ends on a short fade so that it stops without a click.
        double fade = recipe.loop ? 1 : std::fmin(1.0, (double)(total - 1 - i) / (0.004 * kRate));
        samples[2 * i] = (int16_t)std::lround(left[i] * scale * fade * 32767);
        samples[2 * i + 1] = (int16_t)std::lround(right[i] * scale * fade * 32767);
    }
    std::ofstream out(argv[2], std::ios::binary);
    std::string bytes = wavBytes(samples, recipe.chunked, recipe.loop);
    if (!out.write(bytes.data(), (std::streamsize)bytes.size())) {
        std::fprintf(stderr, "skarnwing-synth: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
