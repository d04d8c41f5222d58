// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The BMP font-sheet reader: at the sizes of the game's two sheets, and at the size the file's
// own header claims (up to 256 x 256), so that a mutated header still passes the size check and
// the search goes on into the offsets, the row order, the row padding and the truncation checks.
// The seeds are corners of the generated sheets.

#include <sanitizer/asan_interface.h>

#include <cstdint>
#include <vector>

#include "assets/images.h"
#include "fuzz_file.h"

namespace {

constexpr int32_t kLargestClaim = 256;                                  // pixels a side read at the header's own size
constexpr size_t kBufferPixels = size_t(kLargestClaim) * kLargestClaim; // also holds 512 x 84

// Reads into one buffer kept for the whole run (a fresh allocation of each size cost more than
// the read), with everything past the sheet's pixels poisoned, so AddressSanitizer reports any
// write beyond them as it would past an allocation of exactly that size.
void readSheet(int32_t width, int32_t height) {
    static std::vector<uint32_t> buffer(kBufferPixels);
    const size_t pixels = size_t(width) * size_t(height);
    ASAN_POISON_MEMORY_REGION(buffer.data() + pixels, (kBufferPixels - pixels) * sizeof(uint32_t));
    loadBmpSheet(fuzzFilePath().c_str(), buffer.data(), width, height);
    ASAN_UNPOISON_MEMORY_REGION(buffer.data(), kBufferPixels * sizeof(uint32_t));
}

int32_t read32(const uint8_t* at) { return int32_t(at[0] | at[1] << 8 | at[2] << 16 | uint32_t(at[3]) << 24); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeFuzzFile(data, size)) return 0;
    readSheet(416, 72); // the small sheet
    readSheet(512, 84); // the large sheet
    if (size >= 26) {
        const int32_t width = read32(data + 18);
        const int32_t height = read32(data + 22);
        const int32_t rows = height < 0 && height >= -kLargestClaim ? -height : height;
        if (width >= 1 && width <= kLargestClaim && rows >= 1 && rows <= kLargestClaim) readSheet(width, rows);
    }
    return 0;
}
