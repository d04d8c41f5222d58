// skarnwing-picture-finish IN.png OUT.png|OUT.jpg [size=WxH] [key=white|magenta|black]
//                          [alpha=hard|N] [cap=N]
// Turns one rendered picture into the file the game loads:
//   size=WxH  stretch to the stored size (pictures the game shows at another aspect);
//   key=...   cut out on the colour key: pixels under half alpha become exactly the key, the
//             rest keep their colour, nudged off the key so the artwork has no holes;
//   alpha=hard  every pixel fully opaque or fully clear (blits that skip soft alpha);
//   alpha=N   a silhouette of uniform alpha N (the shadow);
//   cap=N     scale colours so no channel exceeds N (white-keyed JPEGs, which blur highlights).
// A .jpg is written opaque at quality 92; a keyed .png as RGB; any other .png as RGBA.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <stb/stb_image.h>
#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

namespace {

struct Rgb { int r, g, b; };

bool endsWith(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Moves an artwork pixel that happens to equal the key just off it, keeping its look.
void nudgeOffKey(unsigned char* p, Rgb key) {
    if (p[0] != key.r || p[1] != key.g || p[2] != key.b) return;
    if (key.r == 0) { p[0] = p[1] = p[2] = 6; }           // black key: a near-black
    else if (key.g == 0) { p[1] = 24; }                   // magenta key: tint toward grey
    else { p[0] = p[1] = p[2] = 246; }                    // white key: a near-white
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.png OUT.png|OUT.jpg [size=WxH] [key=white|magenta|black] [alpha=hard|N] [cap=N]\n", argv[0]);
        return 2;
    }
    std::string in = argv[1], out = argv[2];
    int outW = 0, outH = 0, cap = 255, alphaMode = -1;  // -1 keep, 0 hard, 1..255 silhouette
    bool keyed = false;
    Rgb key{0, 0, 0};
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("size=", 0) == 0 && std::sscanf(a.c_str() + 5, "%dx%d", &outW, &outH) == 2) continue;
        if (a == "key=white") { keyed = true; key = {255, 255, 255}; continue; }
        if (a == "key=magenta") { keyed = true; key = {255, 0, 255}; continue; }
        if (a == "key=black") { keyed = true; key = {0, 0, 0}; continue; }
        if (a == "alpha=hard") { alphaMode = 0; continue; }
        if (a.rfind("alpha=", 0) == 0) { alphaMode = std::atoi(a.c_str() + 6); if (alphaMode > 0 && alphaMode < 256) continue; }
        if (a.rfind("cap=", 0) == 0) { cap = std::atoi(a.c_str() + 4); if (cap > 0 && cap < 256) continue; }
        std::fprintf(stderr, "%s: unknown option '%s'\n", argv[0], a.c_str());
        return 2;
    }

    int w = 0, h = 0, n = 0;
    unsigned char* loaded = stbi_load(in.c_str(), &w, &h, &n, 4);
    if (!loaded) {
        std::fprintf(stderr, "%s: cannot read picture '%s': %s\n", argv[0], in.c_str(), stbi_failure_reason());
        return 1;
    }
    std::vector<unsigned char> px(loaded, loaded + size_t(w) * h * 4);
    stbi_image_free(loaded);

    if (outW > 0 && outH > 0 && (outW != w || outH != h)) {
        std::vector<unsigned char> resized(size_t(outW) * outH * 4);
        stbir_resize_uint8(px.data(), w, h, 0, resized.data(), outW, outH, 0, 4);
        px.swap(resized);
        w = outW;
        h = outH;
    }

    bool jpeg = endsWith(out, ".jpg");
    for (size_t i = 0; i < px.size(); i += 4) {
        unsigned char* p = &px[i];
        if (cap < 255)
            for (int c = 0; c < 3; ++c) p[c] = (unsigned char)(p[c] * cap / 255);
        if (alphaMode == 0) p[3] = p[3] >= 128 ? 255 : 0;
        else if (alphaMode > 0) p[3] = p[3] >= 64 ? (unsigned char)alphaMode : 0;
        if (keyed) {
            if (p[3] < 128) {
                p[0] = (unsigned char)key.r; p[1] = (unsigned char)key.g; p[2] = (unsigned char)key.b;
            } else {
                nudgeOffKey(p, key);  // keeps its own colour: blending toward the key would fringe the edge
            }
            p[3] = 255;
        } else if (jpeg) {
            int a = p[3];  // opaque pictures: anything see-through is flattened onto black
            for (int c = 0; c < 3; ++c) p[c] = (unsigned char)(p[c] * a / 255);
            p[3] = 255;
        }
    }

    int ok;
    if (jpeg) {
        std::vector<unsigned char> rgb(size_t(w) * h * 3);
        for (size_t i = 0, j = 0; i < px.size(); i += 4, j += 3) std::memcpy(&rgb[j], &px[i], 3);
        ok = stbi_write_jpg(out.c_str(), w, h, 3, rgb.data(), 92);
    } else if (keyed) {
        std::vector<unsigned char> rgb(size_t(w) * h * 3);
        for (size_t i = 0, j = 0; i < px.size(); i += 4, j += 3) std::memcpy(&rgb[j], &px[i], 3);
        ok = stbi_write_png(out.c_str(), w, h, 3, rgb.data(), w * 3);
    } else {
        ok = stbi_write_png(out.c_str(), w, h, 4, px.data(), w * 4);
    }
    if (!ok) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], out.c_str());
        return 1;
    }
    return 0;
}
