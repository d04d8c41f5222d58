// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-picture-finish IN.png OUT.png|OUT.jpg [size=WxH] [key=white|magenta|black]
//                          [alpha=hard|N] [cap=N] [edge=N]
// Turns one rendered picture into the file the game loads:
//   size=WxH  stretch to the stored size (pictures the game shows at another aspect);
//   key=...   cut out on the colour key: pixels under half alpha become exactly the key, the
//             rest keep their colour, nudged off the key so the artwork has no holes;
//   alpha=hard  every pixel fully opaque or fully clear (blits that skip soft alpha);
//   alpha=N   a silhouette of uniform alpha N (the shadow);
//   cap=N     scale colours so no channel exceeds N (white-keyed JPEGs, which blur highlights);
//   edge=N    soft outlines for a blit that blends only alpha above N: the silhouette's edge is
//             blurred over a pixel each side and its ramp lifted above N, so a rotated,
//             shrunk picture shows a blended rim instead of stair steps.
// A .jpg is written opaque at quality 92; a keyed .png as RGB; any other .png as RGBA.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <stb/stb_image_resize.h>
#include <stb/stb_image_write.h>

#include "picture_file.h"

namespace {

struct Rgb {
    int r, g, b;
};

bool endsWith(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

// Moves an artwork pixel that happens to equal the key just off it, keeping its look.
void nudgeOffKey(unsigned char* p, Rgb key) {
    if (p[0] != key.r || p[1] != key.g || p[2] != key.b) return;
    if (key.r == 0) {
        p[0] = p[1] = p[2] = 6;
    } // black key: a near-black
    else if (key.g == 0) {
        p[1] = 24;
    } // magenta key: tint toward grey
    else {
        p[0] = p[1] = p[2] = 246;
    } // white key: a near-white
}

// A 3x3 binomial blur of alpha along the silhouette's edges, colour taken from the opaque
// neighbours; flat areas (the same alpha all round) keep their pixels.
void softenEdges(std::vector<unsigned char>& px, int w, int h, int cut) {
    static const int weight[3][3] = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
    std::vector<unsigned char> out(px);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int low = 255, high = 0, sum = 0, rgb[3] = {0, 0, 0};
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    int a = 0;
                    const int nx = x + dx, ny = y + dy;
                    const unsigned char* q = nullptr;
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h) {
                        q = &px[(size_t(ny) * w + nx) * 4];
                        a = q[3];
                    }
                    low = std::min(low, a), high = std::max(high, a);
                    const int wa = weight[dy + 1][dx + 1] * a;
                    sum += wa;
                    if (q)
                        for (int c = 0; c < 3; ++c) rgb[c] += wa * q[c];
                }
            }
            if (low == high) continue;
            unsigned char* p = &out[(size_t(y) * w + x) * 4];
            const int blurred = sum / 16;
            if (blurred < 40) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            for (int c = 0; c < 3; ++c) p[c] = (unsigned char)(rgb[c] / sum);
            p[3] = (unsigned char)std::max(cut + 1, blurred);
        }
    }
    px.swap(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s IN.png OUT.png|OUT.jpg [size=WxH] [key=white|magenta|black] [alpha=hard|N] [cap=N]\n",
                     argv[0]);
        return 2;
    }
    std::string in = argv[1], out = argv[2];
    int outW = 0, outH = 0, cap = 255, alphaMode = -1; // -1 keep, 0 hard, 1..255 silhouette
    int edgeCut = -1;                                  // -1 leave the edges as rendered
    bool keyed = false;
    Rgb key{0, 0, 0};
    for (int i = 3; i < argc; ++i) {
        std::string a = argv[i];
        if (a.rfind("size=", 0) == 0 && std::sscanf(a.c_str() + 5, "%dx%d", &outW, &outH) == 2) continue;
        if (a == "key=white") {
            keyed = true;
            key = {255, 255, 255};
            continue;
        }
        if (a == "key=magenta") {
            keyed = true;
            key = {255, 0, 255};
            continue;
        }
        if (a == "key=black") {
            keyed = true;
            key = {0, 0, 0};
            continue;
        }
        if (a == "alpha=hard") {
            alphaMode = 0;
            continue;
        }
        if (a.rfind("alpha=", 0) == 0) {
            alphaMode = std::atoi(a.c_str() + 6);
            if (alphaMode > 0 && alphaMode < 256) continue;
        }
        if (a.rfind("cap=", 0) == 0) {
            cap = std::atoi(a.c_str() + 4);
            if (cap > 0 && cap < 256) continue;
        }
        if (a.rfind("edge=", 0) == 0) {
            edgeCut = std::atoi(a.c_str() + 5);
            if (edgeCut >= 0 && edgeCut < 255) continue;
        }
        std::fprintf(stderr, "%s: unknown option '%s'\n", argv[0], a.c_str());
        return 2;
    }

    RgbaPicture loaded;
    if (const char* problem = readPictureFile(in.c_str(), loaded)) {
        std::fprintf(stderr, "%s: cannot read picture '%s': %s\n", argv[0], in.c_str(), problem);
        return 1;
    }
    int w = loaded.width, h = loaded.height;
    std::vector<unsigned char> px(loaded.bytes.begin(), loaded.bytes.end());

    if (outW > 0 && outH > 0 && (outW != w || outH != h)) {
        std::vector<unsigned char> resized(size_t(outW) * outH * 4);
        stbir_resize_uint8(px.data(), w, h, 0, resized.data(), outW, outH, 0, 4);
        px.swap(resized);
        w = outW;
        h = outH;
    }

    if (edgeCut >= 0) softenEdges(px, w, h, edgeCut);

    bool jpeg = endsWith(out, ".jpg");
    for (size_t i = 0; i < px.size(); i += 4) {
        unsigned char* p = &px[i];
        if (cap < 255)
            for (int c = 0; c < 3; ++c) p[c] = (unsigned char)(p[c] * cap / 255);
        if (alphaMode == 0) p[3] = p[3] >= 128 ? 255 : 0;
        else if (alphaMode > 0) p[3] = p[3] >= 64 ? (unsigned char)alphaMode : 0;
        if (keyed) {
            if (p[3] < 128) {
                p[0] = (unsigned char)key.r;
                p[1] = (unsigned char)key.g;
                p[2] = (unsigned char)key.b;
            } else {
                nudgeOffKey(p, key); // keeps its own colour: blending toward the key would fringe the edge
            }
            p[3] = 255;
        } else if (jpeg) {
            int a = p[3]; // opaque pictures: anything see-through is flattened onto black
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
