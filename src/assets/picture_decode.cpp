// SPDX-FileCopyrightText: 2026 The Skarnwing developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "assets/picture_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jpeglib.h>
#include <png.h>

namespace {

// Both libraries report errors through a longjmp out of the library, so the functions that call
// into them (png*, jpeg*) hold only plain locals, with nothing to destroy on the way out.

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool isPng(const uint8_t* bytes, size_t size) { return size >= 8 && std::memcmp(bytes, kPngSignature, 8) == 0; }

bool isJpeg(const uint8_t* bytes, size_t size) {
    return size >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

// ---- PNG, through libpng ----

struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    size_t at = 0;         // bytes handed to libpng so far
    int passes = 1;        // 7 for an interlaced picture
    char problem[96] = {}; // libpng's reason for stopping
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

void pngError(png_structp png, png_const_charp message) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    std::snprintf(reader->problem, sizeof reader->problem, "damaged PNG (%s)", message);
    png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, size_t count) {
    auto* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->at) png_error(png, "truncated");
    std::memcpy(out, reader->bytes + reader->at, count);
    reader->at += count;
}

// Reads up to the pixel data and asks for 8-bit RGBA rows whatever the stored format: palettes
// expanded, transparency keys turned into alpha, 16-bit samples cut to their high byte, grey made
// RGB, opaque alpha added, gamma left as stored. False with reader.problem set on failure.
bool pngReadHeader(PngReader& reader, int& width, int& height, bool& hasAlpha) {
    if (setjmp(png_jmpbuf(reader.png))) return false;
    png_set_read_fn(reader.png, &reader, pngRead);
    png_read_info(reader.png, reader.info);
    width = int(png_get_image_width(reader.png, reader.info));
    height = int(png_get_image_height(reader.png, reader.info));
    const int colourType = png_get_color_type(reader.png, reader.info);
    const bool keyed = png_get_valid(reader.png, reader.info, PNG_INFO_tRNS) != 0;
    hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || (colourType == PNG_COLOR_TYPE_PALETTE && keyed);
    return true;
}

bool pngSetRgba(PngReader& reader) {
    if (setjmp(png_jmpbuf(reader.png))) return false;
    png_set_expand(reader.png);
    png_set_strip_16(reader.png);
    png_set_gray_to_rgb(reader.png);
    png_set_add_alpha(reader.png, 0xFF, PNG_FILLER_AFTER);
    reader.passes = png_set_interlace_handling(reader.png);
    png_read_update_info(reader.png, reader.info);
    if (png_get_rowbytes(reader.png, reader.info) != size_t(png_get_image_width(reader.png, reader.info)) * 4) {
        png_error(reader.png, "unexpected row format");
    }
    return true;
}

// Reads every row (every pass of an interlaced picture) into pixels, rowBytes apart.
bool pngReadRows(PngReader& reader, uint8_t* pixels, size_t rowBytes, size_t height) {
    if (setjmp(png_jmpbuf(reader.png))) return false;
    for (int pass = 0; pass < reader.passes; ++pass) {
        for (size_t y = 0; y < height; ++y) png_read_row(reader.png, pixels + y * rowBytes, nullptr);
    }
    return true;
}

// Opens a reader on PNG bytes; false (reason in reader.problem) when libpng cannot start.
bool pngOpen(PngReader& reader, const uint8_t* bytes, size_t size) {
    reader.bytes = bytes;
    reader.size = size;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &reader, pngError, pngWarning);
    if (reader.png != nullptr) reader.info = png_create_info_struct(reader.png);
    if (reader.info == nullptr) {
        std::snprintf(reader.problem, sizeof reader.problem, "the PNG decoder cannot start");
        return false;
    }
    return true;
}

// ---- JPEG, through libjpeg-turbo ----

constexpr int kMaxJpegScans = 500;                  // progressive scans; more is a file made to waste time
constexpr long kMaxJpegMemory = 512L * 1024 * 1024; // bytes the library may allocate

struct JpegReader {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    jmp_buf jump;
    bool created = false;
    char problem[JMSG_LENGTH_MAX + 32] = {};
    ~JpegReader() {
        if (created) jpeg_destroy_decompress(&info);
    }
};

void jpegStop(j_common_ptr common) {
    auto* reader = static_cast<JpegReader*>(common->client_data);
    char message[JMSG_LENGTH_MAX] = {};
    common->err->format_message(common, message);
    std::snprintf(reader->problem, sizeof reader->problem, "damaged JPEG (%s)", message);
    std::longjmp(reader->jump, 1);
}

// Warnings (corrupt or missing data the library would paper over, a file cut short) stop the
// decode as errors do.
void jpegMessage(j_common_ptr common, int level) {
    if (level < 0) jpegStop(common);
}

void jpegProgress(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxJpegScans) {
        auto* reader = static_cast<JpegReader*>(common->client_data);
        std::snprintf(reader->problem, sizeof reader->problem, "damaged JPEG (more than %d scans)", kMaxJpegScans);
        std::longjmp(reader->jump, 1);
    }
}

bool jpegReadHeader(JpegReader& reader, const uint8_t* bytes, size_t size, int& width, int& height) {
    reader.info.err = jpeg_std_error(&reader.errors);
    reader.errors.error_exit = jpegStop;
    reader.errors.emit_message = jpegMessage;
    if (setjmp(reader.jump)) return false;
    jpeg_create_decompress(&reader.info);
    reader.created = true;
    reader.info.client_data = &reader;
    reader.info.mem->max_memory_to_use = kMaxJpegMemory;
    reader.progress.progress_monitor = jpegProgress;
    reader.info.progress = &reader.progress;
    jpeg_mem_src(&reader.info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&reader.info, TRUE);
    width = int(reader.info.image_width);
    height = int(reader.info.image_height);
    return true;
}

// Checks the colour format the decode turns into RGBA. Null when fine.
const char* jpegCheckFormat(const jpeg_decompress_struct& info) {
    const bool grey = info.num_components == 1 && info.jpeg_color_space == JCS_GRAYSCALE;
    const bool colour = info.num_components == 3 &&
                        (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    if (!grey && !colour) return "JPEG colour format not supported (grey, YCbCr or RGB only)";
    // Arithmetic-coded data is read as zeros, without complaint, past the end of a cut file, so a
    // few hundred bytes make a full-sized picture.
    if (info.arith_code) return "arithmetic-coded JPEG not supported";
    return nullptr;
}

// Starts the decode to RGBA; a progressive picture's scans are all read here, before any pixel
// buffer exists.
bool jpegStart(JpegReader& reader) {
    if (setjmp(reader.jump)) return false;
    reader.info.out_color_space = JCS_EXT_RGBA;
    jpeg_start_decompress(&reader.info);
    return true;
}

// Reads every row into pixels, rowBytes apart, then the file up to its end marker, so that one
// cut anywhere is refused rather than shown in part.
bool jpegReadRows(JpegReader& reader, uint8_t* pixels, size_t rowBytes) {
    if (setjmp(reader.jump)) return false;
    while (reader.info.output_scanline < reader.info.output_height) {
        JSAMPROW row = pixels + size_t(reader.info.output_scanline) * rowBytes;
        jpeg_read_scanlines(&reader.info, &row, 1);
    }
    jpeg_finish_decompress(&reader.info);
    return true;
}

// ---- Both formats ----

// The decoders' detailed reason for the last failure on this thread, for the one-line message.
thread_local char tProblem[JMSG_LENGTH_MAX + 32];

const char* keepProblem(const char* problem) {
    std::snprintf(tProblem, sizeof tProblem, "%s", problem);
    return tProblem;
}

// What a picture's header says.
struct PictureHeader {
    int width = 0;
    int height = 0;
    bool hasAlpha = false; // stored with alpha (or a transparent palette entry)
};

const char* checkSize(int width, int height) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxDecodedPixels) return "picture size out of range";
    return nullptr;
}

const char* decodePng(const uint8_t* data, size_t size, RgbaPicture& out) {
    PngReader reader;
    PictureHeader header;
    if (!pngOpen(reader, data, size) || !pngReadHeader(reader, header.width, header.height, header.hasAlpha)) {
        return keepProblem(reader.problem);
    }
    if (const char* problem = checkSize(header.width, header.height)) return problem;
    if (!pngSetRgba(reader)) return keepProblem(reader.problem);
    out.bytes.resize(size_t(header.width) * size_t(header.height) * 4);
    if (!pngReadRows(reader, out.bytes.data(), size_t(header.width) * 4, size_t(header.height))) {
        return keepProblem(reader.problem);
    }
    out.width = header.width;
    out.height = header.height;
    out.hasAlpha = header.hasAlpha;
    return nullptr;
}

const char* decodeJpeg(const uint8_t* data, size_t size, RgbaPicture& out) {
    JpegReader reader;
    int width = 0;
    int height = 0;
    if (!jpegReadHeader(reader, data, size, width, height)) return keepProblem(reader.problem);
    if (const char* problem = checkSize(width, height)) return problem;
    if (const char* problem = jpegCheckFormat(reader.info)) return problem;
    if (!jpegStart(reader)) return keepProblem(reader.problem);
    // The library writes the rows itself, unseen by the sanitizers, so they must be exactly the
    // size the buffer is made for.
    const jpeg_decompress_struct& info = reader.info;
    if (info.output_width != JDIMENSION(width) || info.output_height != JDIMENSION(height) ||
        info.output_components != 4) {
        return "JPEG output size unexpected";
    }
    out.bytes.resize(size_t(width) * size_t(height) * 4);
    if (!jpegReadRows(reader, out.bytes.data(), size_t(width) * 4)) return keepProblem(reader.problem);
    out.width = width;
    out.height = height;
    out.hasAlpha = false;
    return nullptr;
}

} // namespace

const char* decodeRgbaPicture(const uint8_t* data, size_t size, RgbaPicture& out) {
    out = RgbaPicture{};
    if (data == nullptr || size == 0) return "no data";
    try {
        const char* problem = isPng(data, size)    ? decodePng(data, size, out)
                              : isJpeg(data, size) ? decodeJpeg(data, size, out)
                                                   : "not a PNG or JPEG picture";
        if (problem != nullptr) out = RgbaPicture{};
        return problem;
    } catch (const std::bad_alloc&) {
        out = RgbaPicture{};
        return "does not fit in memory";
    }
}

const char* checkPictureHeader(const uint8_t* bytes, size_t size, int& width, int& height) {
    width = 0;
    height = 0;
    if (bytes == nullptr || size == 0) return "no data";
    if (isPng(bytes, size)) {
        PngReader reader;
        bool hasAlpha = false;
        if (!pngOpen(reader, bytes, size) || !pngReadHeader(reader, width, height, hasAlpha)) {
            return keepProblem(reader.problem);
        }
    } else if (isJpeg(bytes, size)) {
        JpegReader reader;
        if (!jpegReadHeader(reader, bytes, size, width, height)) return keepProblem(reader.problem);
    } else {
        return "not a PNG or JPEG picture";
    }
    return checkSize(width, height);
}
