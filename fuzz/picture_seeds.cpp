// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

// picture-seeds IN OUT_PREFIX: writes the picture IN again as JPEGs of every kind the decoder
// takes (grey, RGB, 4:2:0, 4:2:2, 4:4:0, progressive, with restart markers) and one it refuses
// (arithmetic-coded), each after the fuzz target's four parameter bytes. The game's own JPEGs are
// all 4:4:4 YCbCr, so without these the search would rarely reach the library's other paths
// (upsampling, colour conversions, progressive scans).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "assets/images.h"

namespace {

struct Kind {
    const char* name;
    J_COLOR_SPACE space;
    int lumaH; // sampling of the first component; the others stay 1x1
    int lumaV;
    bool progressive;
    bool arithmetic;
    bool restarts;
};

// Encodes RGB pixels; libjpeg's own error handler ends the program on failure.
std::vector<uint8_t> encode(const std::vector<uint8_t>& rgb, int width, int height, const Kind& kind) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, kind.space);
    jpeg_set_quality(&info, 85, TRUE);
    if (kind.space == JCS_YCbCr) {
        info.comp_info[0].h_samp_factor = kind.lumaH;
        info.comp_info[0].v_samp_factor = kind.lumaV;
    }
    if (kind.progressive) jpeg_simple_progression(&info);
    info.arith_code = kind.arithmetic ? TRUE : FALSE;
    if (kind.restarts) info.restart_in_rows = 1;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(rgb.data()) + size_t(info.next_scanline) * size_t(width) * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s IN OUT_PREFIX\n", argv[0]);
        return 2;
    }
    std::vector<uint8_t> file;
    if (FILE* f = std::fopen(argv[1], "rb")) {
        file.resize(1 << 20);
        file.resize(std::fread(file.data(), 1, file.size(), f));
        std::fclose(f);
    }
    RgbaPicture picture;
    if (const char* problem = decodeRgbaPicture(file.data(), file.size(), picture)) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[1], problem);
        return 1;
    }
    std::vector<uint8_t> rgb;
    for (size_t i = 0; i < picture.bytes.size(); i += 4)
        rgb.insert(rgb.end(), &picture.bytes[i], &picture.bytes[i] + 3);
    const Kind kinds[] = {
        {"grey", JCS_GRAYSCALE, 1, 1, false, false, false},
        {"rgb", JCS_RGB, 1, 1, false, false, false},
        {"420", JCS_YCbCr, 2, 2, false, false, false},
        {"422", JCS_YCbCr, 2, 1, false, false, false},
        {"440", JCS_YCbCr, 1, 2, false, false, false},
        {"progressive", JCS_YCbCr, 2, 2, true, false, false},
        {"grey-progressive", JCS_GRAYSCALE, 1, 1, true, false, false},
        {"arithmetic", JCS_YCbCr, 2, 2, false, true, false},
        {"restarts", JCS_YCbCr, 2, 1, false, false, true},
    };
    for (const Kind& kind : kinds) {
        const std::vector<uint8_t> jpeg = encode(rgb, picture.width, picture.height, kind);
        const std::string path = std::string(argv[2]) + "-" + kind.name + ".jpg";
        FILE* out = std::fopen(path.c_str(), "wb");
        if (out == nullptr) return 1;
        const uint8_t parameters[4] = {29, 29, 63, 2}; // a 30x30 texture, 64-wide frames, black key
        std::fwrite(parameters, 1, 4, out);
        std::fwrite(jpeg.data(), 1, jpeg.size(), out);
        std::fclose(out);
    }
    return 0;
}
