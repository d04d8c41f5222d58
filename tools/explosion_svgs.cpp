// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// skarnwing-explosion-svgs bomb|missile OUT.svg
// Writes the 12-frame explosion strip as one SVG, frames side by side: a fireball that swells
// from a white-hot core, then tears apart into dark smoke that rises and thins. The game blends
// only fully opaque explosion pixels, so every shape is solid and its ragged edge comes from a
// displacement filter, not from fading. Bomb blasts (200x120) burst on the ground near the
// bottom of the frame; missile blasts (200x150) are rounder, higher and hotter.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kFrames = 12;

// Deterministic pseudo-random numbers in [0, 1), so the strip is the same on every build.
struct Random {
    uint32_t state;
    double next() {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24);
    }
};

double smooth(double t) { return t <= 0 ? 0 : t >= 1 ? 1 : t * t * (3 - 2 * t); }

void blob(FILE* f, double x, double y, double r, const char* fill) {
    if (r > 0.5) std::fprintf(f, "<circle cx='%.1f' cy='%.1f' r='%.1f' fill='%s'/>\n", x, y, r, fill);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "bomb") != 0 && std::strcmp(argv[1], "missile") != 0)) {
        std::fprintf(stderr, "usage: %s bomb|missile OUT.svg\n", argv[0]);
        return 2;
    }
    const bool bomb = std::strcmp(argv[1], "bomb") == 0;
    const int w = 200, h = bomb ? 120 : 150;
    const double baseY = bomb ? 104 : 92; // where the burst sits in the frame
    const double maxR = bomb ? 48 : 56;
    FILE* f = std::fopen(argv[2], "w");
    if (!f) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], argv[2]);
        return 1;
    }
    std::fprintf(f, "<svg xmlns='http://www.w3.org/2000/svg' width='%d' height='%d'>\n", w * kFrames, h);
    Random rnd{bomb ? 7u : 31u};
    for (int i = 0; i < kFrames; ++i) {
        const double t = i / double(kFrames - 1);
        const double grow = smooth(0.12 + t * 2.2);    // a flash at once, full size by frame 5
        const double fade = smooth((t - 0.35) / 0.65); // fire gives way to smoke after that
        const double rise = (bomb ? 18 : 30) * smooth((t - 0.3) / 0.7);
        std::fprintf(f, "<svg x='%d' y='0' width='%d' height='%d'>\n", i * w, w, h);
        std::fprintf(f,
                     "<filter id='rag%d' x='-20%%' y='-20%%' width='140%%' height='140%%'>"
                     "<feTurbulence type='fractalNoise' baseFrequency='0.07' numOctaves='2' seed='%d'/>"
                     "<feDisplacementMap in='SourceGraphic' scale='%.1f' xChannelSelector='R' yChannelSelector='G'/>"
                     "</filter>\n",
                     i, 3 + i, 9 + 10 * t);
        std::fprintf(f, "<g filter='url(#rag%d)'>\n", i);
        const double cx = w / 2.0, cy = baseY - rise - (bomb ? 0.45 : 0.2) * maxR * grow;
        // Smoke: a ring of dark puffs that swells and drifts up as the fire dies.
        const int puffs = 9;
        for (int k = 0; k < puffs; ++k) {
            double a = k * 6.2831853 / puffs + rnd.next() * 0.5;
            double d = maxR * (0.45 + 0.5 * fade) * (0.8 + 0.3 * rnd.next());
            double r = maxR * (0.22 + 0.38 * fade) * (1.1 - 0.9 * smooth((t - 0.8) / 0.2)) * (0.8 + 0.4 * rnd.next());
            double px = cx + std::cos(a) * d * 1.15, py = cy + std::sin(a) * d * 0.8 - rise * 0.3;
            if (py > baseY + 6) py = baseY + 6;
            const double margin = r * grow + 10; // the ragged edge must not cross into the next frame
            px = std::fmin(std::fmax(px, margin), w - margin);
            py = std::fmax(py, r * grow + 4);
            blob(f, px, py, r * grow, k % 3 == 0 ? "#4a423c" : k % 3 == 1 ? "#3a3431" : "#5a5048");
        }
        if (bomb) { // dust thrown sideways along the ground
            double dr = maxR * 0.35 * grow * (1 - 0.6 * fade);
            blob(f, cx - maxR * 0.9 * grow, baseY, dr, "#6b5a44");
            blob(f, cx + maxR * 0.9 * grow, baseY, dr, "#6b5a44");
        }
        // Fire: red rim, orange body, yellow and white core, each shrinking as it cools.
        const double fire = maxR * grow * (1 - 0.85 * fade);
        const double fy = std::fmin(cy, h - 8 - fire); // the fireball stays whole inside the frame
        blob(f, cx, fy, fire, "#c8331a");
        for (int k = 0; k < 5; ++k) {
            double a = k * 1.2566 + i * 0.7;
            blob(f, cx + std::cos(a) * fire * 0.55, fy + std::sin(a) * fire * 0.45, fire * 0.5, "#e0541c");
        }
        blob(f, cx, fy, fire * 0.78, "#f7871f");
        blob(f, cx, fy + fire * 0.08, fire * 0.55 * (1 - 0.5 * fade), "#ffc53a");
        blob(f, cx, fy + fire * 0.12, fire * 0.3 * (1 - fade), "#fff4c4");
        std::fprintf(f, "</g>\n");
        // Sparks and embers flung out while the fire is young, kept sharp (outside the filter).
        if (i > 0 && i < 8) {
            for (int k = 0; k < 10; ++k) {
                double a = rnd.next() * 6.2831853, d = maxR * (0.6 + 0.9 * rnd.next()) * smooth(t * 3);
                double px = cx + std::cos(a) * d * 1.3, py = cy + std::sin(a) * d - 10 * t * t;
                if (py < baseY + 4 && px > 4 && px < w - 4)
                    blob(f, px, py, 1.6 + 1.4 * (1 - t), k % 2 ? "#ffd75a" : "#ff9b2e");
            }
        }
        std::fprintf(f, "</svg>\n");
    }
    std::fprintf(f, "</svg>\n");
    if (std::fclose(f) != 0) {
        std::fprintf(stderr, "%s: cannot write '%s'\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
