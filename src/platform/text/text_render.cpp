// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The text both back ends draw: laid out and rendered with SDL2_ttf once per text and width, kept
// as a texture of the back end and drawn like any other.

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/platform.h"
#include "platform/text/text_render.h"

namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf";
constexpr int kPointSize = 16; // pixels per em at SDL_ttf's 72 dpi
constexpr int kTabStop = 24;   // pixels between indents

struct TextCache {
    bool tried = false; // the font has been opened, or failed to
    TTF_Font* font = nullptr;
    std::map<std::tuple<std::string, int32_t, int32_t>, TextureHandle> textures; // by text and box size
};

TextCache& cache() {
    static TextCache state;
    return state;
}

TTF_Font* openFont() {
    TextCache& c = cache();
    if (c.tried) return c.font;
    c.tried = true;
    if (!TTF_WasInit() && TTF_Init() != 0) {
        std::fprintf(stderr, "skarnwing: cannot start the text renderer: %s\n", TTF_GetError());
        return nullptr;
    }
    c.font = TTF_OpenFont(kFontPath, kPointSize);
    if (c.font == nullptr)
        std::fprintf(stderr, "skarnwing: cannot open the font \"%s\": %s\n", kFontPath, TTF_GetError());
    return c.font;
}

int textWidth(TTF_Font* font, const std::string& text) {
    int w = 0;
    int h = 0;
    if (text.empty() || TTF_SizeUTF8(font, text.c_str(), &w, &h) != 0) return 0;
    return w;
}

// One run of text to render at a pen position.
struct Piece {
    std::string text;
    int x = 0;
    int line = 0;
};

// Words go on the line while they fit; a word wider than the whole line stands alone on it.
std::vector<Piece> layOut(TTF_Font* font, const std::string& text, int width) {
    std::vector<Piece> pieces;
    const int space = textWidth(font, " ");
    int line = 0;
    int pen = 0;
    bool lineEmpty = true;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            pen = 0;
            lineEmpty = true;
            ++i;
            continue;
        }
        if (c == '\t') {
            pen = (pen / kTabStop + 1) * kTabStop;
            ++i;
            continue;
        }
        if (c == ' ') {
            pen += space;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\n') ++end;
        std::string word = text.substr(i, end - i);
        const int w = textWidth(font, word);
        if (!lineEmpty && pen + w > width) {
            ++line;
            pen = 0;
        }
        pieces.push_back(Piece{word, pen, line});
        pen += w;
        lineEmpty = false;
        i = end;
    }
    return pieces;
}

// Black text with its coverage as alpha, cut to width x height.
TextureHandle renderText(TTF_Font* font, const std::string& text, int32_t width, int32_t height) {
    const std::vector<Piece> pieces = layOut(font, text, width);
    const int lineSkip = TTF_FontLineSkip(font);
    int lines = 0;
    for (const Piece& p : pieces) lines = std::max(lines, p.line + 1);
    const int32_t h = std::min<int32_t>(height, lines * lineSkip);
    if (h <= 0 || width <= 0) return 0;
    std::vector<uint32_t> pixels(size_t(width) * size_t(h), 0);
    for (const Piece& p : pieces) {
        SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, p.text.c_str(), SDL_Color{0, 0, 0, 255});
        if (rendered == nullptr) continue;
        SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
        SDL_FreeSurface(rendered);
        if (argb == nullptr) continue;
        const int top = p.line * lineSkip;
        for (int row = 0; row < argb->h; ++row) {
            const int y = top + row;
            if (y < 0 || y >= h) continue;
            const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                                row * argb->pitch);
            for (int col = 0; col < argb->w; ++col) {
                const int x = p.x + col;
                if (x < 0 || x >= width) continue;
                uint32_t& dst = pixels[size_t(y) * size_t(width) + size_t(x)];
                const uint32_t alpha = std::max(dst >> 24, src[col] >> 24);
                dst = alpha << 24; // black
            }
        }
        SDL_FreeSurface(argb);
    }
    return platformCreateTexture(pixels.data(), width, h);
}

} // namespace

void platformDrawText(const char* text, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (text == nullptr || right <= left || bottom <= top) return;
    TTF_Font* font = openFont();
    if (font == nullptr) return;
    TextCache& c = cache();
    const auto key = std::make_tuple(std::string(text), right - left, bottom - top);
    auto found = c.textures.find(key);
    if (found == c.textures.end()) {
        found = c.textures.emplace(key, renderText(font, std::get<0>(key), right - left, bottom - top)).first;
    }
    platformDrawTexture(found->second, left, top);
}

void forgetTextTextures() { cache().textures.clear(); }
