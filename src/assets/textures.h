// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Device textures from files and built-in pictures: decoded, scaled to the size the game draws
// them at, colour-keyed and uploaded through the platform layer.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

constexpr uint32_t kKeyWhite = 0xFFFFFFFF;
constexpr uint32_t kKeyMagenta = 0xFFFF00FF;
constexpr uint32_t kKeyBlack = 0xFF000000;

// Decodes PNG or JPEG bytes, scales them to width x height (a triangle filter; none when the
// size already matches) and turns pixels of exactly colour `key` into
// 0x00000000. Returns false, with one line naming `name`, when the bytes do not decode.
bool prepareTexturePixels(const uint8_t* bytes, size_t size, int32_t width, int32_t height, uint32_t key,
                          const char* name, std::vector<uint32_t>& pixels);

// The title picture's pixels as prepareTexturePixels makes them from its built-in picture,
// prepared by the build so that the first frame waits for no decoding.
constexpr const char* kPreparedTitlePath = "Files\\Img\\title.argb";

// Reads pixels prepared at build time: a file of exactly width * height pixels, 0xAARRGGBB,
// little-endian as the game's samples are, and nothing else. Returns false, with one line naming
// the file, when it is missing, not a regular file or of another size.
bool readPreparedPixels(const char* windowsPath, int32_t width, int32_t height, std::vector<uint32_t>& pixels);

// A texture from an image file; 0 (absent, with one line on stderr) when missing or undecodable.
TextureHandle loadTextureFile(const char* windowsPath, int32_t width, int32_t height, uint32_t key);
