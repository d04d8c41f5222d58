#include "assets/images.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include "platform/paths.h"

namespace {

// Both decoders report through a longjmp out of the library, so the functions that call into
// them (pngRead*, jpegRead*) hold only plain locals, with nothing to destroy on the way out.

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
// The library parses the file and decodes its entropy-coded data to DCT coefficients; the
// pixels are rebuilt here with the integer inverse DCT and colour conversion of stb_image, which
// the content tools and their tests use, so a picture has the same pixels in the game as there.

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

// Warnings (corrupt data the library would paper over) stop the decode as errors do.
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

uint8_t clampByte(int32_t value) { return static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value); }

// A constant scaled by 4096, rounded as the conversion truncates (towards zero).
constexpr uint32_t fix(double x) { return uint32_t(int32_t(x * 4096 + 0.5)); }

// Eight 8-point integer inverse DCTs side by side: in[k][lane] is input k of transform `lane`,
// out[k][lane] its output k, rounded by `bias` and shifted down by `shift` (signed). Constants are
// scaled by 4096. The sums wrap in 32 bits, so damaged coefficients give wrong samples rather than
// undefined behaviour; valid ones never come near the wrap. Straight-line code over the lanes,
// which the compiler turns into vector instructions.
void idctPass(const uint32_t (&in)[8][8], uint32_t (&out)[8][8], uint32_t bias, int shift) {
    for (int lane = 0; lane < 8; ++lane) {
        const uint32_t s0 = in[0][lane], s1 = in[1][lane], s2 = in[2][lane], s3 = in[3][lane];
        const uint32_t s4 = in[4][lane], s5 = in[5][lane], s6 = in[6][lane], s7 = in[7][lane];
        const uint32_t e = (s2 + s6) * fix(0.5411961f);
        const uint32_t evenB = e + s6 * fix(-1.847759065f);
        const uint32_t evenA = e + s2 * fix(0.765366865f);
        const uint32_t e0 = (s0 + s4) * 4096u;
        const uint32_t e1 = (s0 - s4) * 4096u;
        const uint32_t x0 = e0 + evenA + bias;
        const uint32_t x3 = e0 - evenA + bias;
        const uint32_t x1 = e1 + evenB + bias;
        const uint32_t x2 = e1 - evenB + bias;
        const uint32_t p5 = (s7 + s3 + s5 + s1) * fix(1.175875602f);
        const uint32_t p1 = p5 + (s7 + s1) * fix(-0.899976223f);
        const uint32_t p2 = p5 + (s5 + s3) * fix(-2.562915447f);
        const uint32_t p3 = (s7 + s3) * fix(-1.961570560f);
        const uint32_t p4 = (s5 + s1) * fix(-0.390180644f);
        const uint32_t t0 = s7 * fix(0.298631336f) + p1 + p3;
        const uint32_t t1 = s5 * fix(2.053119869f) + p2 + p4;
        const uint32_t t2 = s3 * fix(3.072711026f) + p2 + p3;
        const uint32_t t3 = s1 * fix(1.501321110f) + p1 + p4;
        out[0][lane] = uint32_t(int32_t(x0 + t3) >> shift);
        out[7][lane] = uint32_t(int32_t(x0 - t3) >> shift);
        out[1][lane] = uint32_t(int32_t(x1 + t2) >> shift);
        out[6][lane] = uint32_t(int32_t(x1 - t2) >> shift);
        out[2][lane] = uint32_t(int32_t(x2 + t1) >> shift);
        out[5][lane] = uint32_t(int32_t(x2 - t1) >> shift);
        out[3][lane] = uint32_t(int32_t(x3 + t0) >> shift);
        out[4][lane] = uint32_t(int32_t(x3 - t0) >> shift);
    }
}

void transpose(const uint32_t (&in)[8][8], uint32_t (&out)[8][8]) {
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) out[c][r] = in[r][c];
    }
}

// Dequantises one block of coefficients (natural order) and writes its 8x8 samples at out.
void idctBlock(const JCOEF* coefficients, const JQUANT_TBL& quant, uint8_t* out, size_t stride) {
    uint32_t a[8][8];
    uint32_t b[8][8];
    // Dequantised in 16 bits (the product's low half, sign-extended), as stb_image does.
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 8; ++c) {
            const uint32_t product = uint32_t(uint16_t(coefficients[r * 8 + c])) * quant.quantval[r * 8 + c];
            a[r][c] = uint32_t(int32_t(int16_t(uint16_t(product))));
        }
    }
    // Columns first, back down from 4096 keeping two bits of precision; then rows, down by
    // 4096 * 4 and the 8 of the two sqrt(8) scales (1 << 17 in all), rounded, with the +128 level
    // shift added before the shift.
    idctPass(a, b, 512, 10);
    transpose(b, a);
    idctPass(a, b, 65536u + (128u << 17), 17);
    for (int y = 0; y < 8; ++y, out += stride) {
        for (int x = 0; x < 8; ++x) out[x] = clampByte(int32_t(b[x][y]));
    }
}

// Fixed-point colour weights, 12 bits then shifted into a 20-bit scale.
constexpr int32_t fixColour(float x) { return int32_t(x * 4096.0f + 0.5f) * 256; }

void ycbcrToRgba(uint8_t y, uint8_t cb, uint8_t cr, uint8_t* out) {
    const int32_t yFixed = (int32_t(y) << 20) + (1 << 19);
    const int32_t red = cr - 128;
    const int32_t blue = cb - 128;
    const int32_t r = (yFixed + red * fixColour(1.40200f)) >> 20;
    const int32_t g = (yFixed + red * -fixColour(0.71414f) +
                       int32_t(uint32_t(blue * -fixColour(0.34414f)) & 0xFFFF0000u)) >>
                      20;
    const int32_t b = (yFixed + blue * fixColour(1.77200f)) >> 20;
    out[0] = clampByte(r);
    out[1] = clampByte(g);
    out[2] = clampByte(b);
    out[3] = 0xFF;
}

// How the components are laid out: the largest sampling factors (1..4 each way) and whether any
// component is subsampled, in which case the whole picture's samples are held at once (the
// interpolation reads the rows around each one).
struct JpegLayout {
    int maxH = 1;
    int maxV = 1;
    bool subsampled = false;
};

// Checks the colour format and sampling the pixel rebuild handles. Null when fine.
const char* jpegCheckFormat(const jpeg_decompress_struct& info, JpegLayout& layout) {
    const bool grey = info.num_components == 1 && info.jpeg_color_space == JCS_GRAYSCALE;
    const bool colour = info.num_components == 3 &&
                        (info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB);
    if (!grey && !colour) return "JPEG colour format not supported (grey, YCbCr or RGB only)";
    // Arithmetic-coded data is read as zeros, without complaint, past the end of a cut file, so a
    // few hundred bytes make a full-sized picture; the content tools' decoder refuses it too.
    if (info.arith_code) return "arithmetic-coded JPEG not supported";
    for (int c = 0; c < info.num_components; ++c) {
        layout.maxH = std::max(layout.maxH, info.comp_info[c].h_samp_factor);
        layout.maxV = std::max(layout.maxV, info.comp_info[c].v_samp_factor);
    }
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        if (layout.maxH % component.h_samp_factor != 0 || layout.maxV % component.v_samp_factor != 0) {
            return "JPEG sampling not supported";
        }
        layout.subsampled |= component.h_samp_factor != layout.maxH || component.v_samp_factor != layout.maxV;
    }
    return nullptr;
}

// Rows of samples held per component: a band of one block row of the largest sampling, or the
// whole component when the picture is subsampled.
size_t planeRows(const jpeg_component_info& component, const JpegLayout& layout) {
    if (!layout.subsampled) return size_t(component.v_samp_factor) * 8;
    return (size_t(component.height_in_blocks) + size_t(component.v_samp_factor)) * 8;
}

// One row of a subsampled component brought to full resolution: `near` is the component row
// nearest the pixel row and `far` the one on its other side, blended 3:1 where the component has
// half the rows; half the columns are blended 3:1 with their neighbours; other ratios repeat
// samples. out receives `width` samples (and up to hs - 1 more).
void upsampleRow(const uint8_t* near, const uint8_t* far, size_t inWidth, int hs, int vs, uint8_t* out) {
    const auto div4 = [](int x) { return uint8_t(x >> 2); };
    const auto div16 = [](int x) { return uint8_t(x >> 4); };
    if (hs == 1 && vs == 2) {
        for (size_t i = 0; i < inWidth; ++i) out[i] = div4(3 * near[i] + far[i] + 2);
    } else if (hs == 2 && vs == 1) {
        if (inWidth == 1) {
            out[0] = out[1] = near[0];
            return;
        }
        out[0] = near[0];
        out[1] = div4(near[0] * 3 + near[1] + 2);
        size_t i = 1;
        for (; i < inWidth - 1; ++i) {
            const int n = 3 * near[i] + 2;
            out[i * 2] = div4(n + near[i - 1]);
            out[i * 2 + 1] = div4(n + near[i + 1]);
        }
        out[i * 2] = div4(near[inWidth - 2] * 3 + near[inWidth - 1] + 2);
        out[i * 2 + 1] = near[inWidth - 1];
    } else if (hs == 2 && vs == 2) {
        int t1 = 3 * near[0] + far[0];
        if (inWidth == 1) {
            out[0] = out[1] = div4(t1 + 2);
            return;
        }
        out[0] = div4(t1 + 2);
        for (size_t i = 1; i < inWidth; ++i) {
            const int t0 = t1;
            t1 = 3 * near[i] + far[i];
            out[i * 2 - 1] = div16(3 * t0 + t1 + 8);
            out[i * 2] = div16(3 * t1 + t0 + 8);
        }
        out[inWidth * 2 - 1] = div4(t1 + 2);
    } else {
        for (size_t i = 0; i < inWidth; ++i) {
            for (int j = 0; j < hs; ++j) out[i * size_t(hs) + size_t(j)] = near[i];
        }
    }
}

// Decodes all the entropy-coded data into the library's coefficient arrays. Runs before any
// pixel buffer exists, so that a damaged or cut file is refused without one.
bool jpegReadCoefficients(JpegReader& reader, jvirt_barray_ptr*& arrays) {
    if (setjmp(reader.jump)) return false;
    arrays = jpeg_read_coefficients(&reader.info);
    return true;
}

// Rebuilds the RGBA pixels into out (width * height * 4 bytes) from the coefficients. planes[c]
// holds planeRows(c) rows of width_in_blocks * 8 samples of component c; rows[c] width + 4
// samples of scratch.
bool jpegReadPixels(JpegReader& reader, jvirt_barray_ptr* arrays, const JpegLayout& layout, uint8_t* const planes[3],
                    uint8_t* const rows[3], uint8_t* out) {
    if (setjmp(reader.jump)) return false;
    jpeg_decompress_struct& info = reader.info;
    const int components = info.num_components;
    const size_t width = info.image_width;
    const size_t height = info.image_height;
    const size_t bandRows = layout.subsampled ? height : size_t(layout.maxV) * 8;
    const size_t bands = (height + bandRows - 1) / bandRows;
    for (size_t band = 0; band < bands; ++band) {
        // Each component's block rows of this band, through the inverse DCT into its plane.
        JDIMENSION firstRow[3] = {};
        for (int c = 0; c < components; ++c) {
            const jpeg_component_info& component = info.comp_info[c];
            if (component.quant_table == nullptr) ERREXIT(&info, JERR_NO_QUANT_TABLE);
            const JDIMENSION step = JDIMENSION(component.v_samp_factor);
            firstRow[c] = layout.subsampled ? 0 : JDIMENSION(band) * step;
            const JDIMENSION endRow = layout.subsampled ? component.height_in_blocks
                                                        : std::min(component.height_in_blocks, firstRow[c] + step);
            const size_t stride = size_t(component.width_in_blocks) * 8;
            for (JDIMENSION row = firstRow[c]; row < endRow; row += step) {
                const JDIMENSION count = std::min(step, endRow - row);
                JBLOCKARRAY blocks = info.mem->access_virt_barray(reinterpret_cast<j_common_ptr>(&info), arrays[c], row,
                                                                  count, FALSE);
                for (JDIMENSION r = 0; r < count; ++r) {
                    uint8_t* target = planes[c] + size_t(row - firstRow[c] + r) * 8 * stride;
                    for (JDIMENSION b = 0; b < component.width_in_blocks; ++b) {
                        idctBlock(blocks[r][b], *component.quant_table, target + size_t(b) * 8, stride);
                    }
                }
            }
        }
        const size_t y0 = band * bandRows;
        const size_t y1 = std::min(height, y0 + bandRows);
        for (size_t y = y0; y < y1; ++y) {
            // Each component's samples for this row of pixels.
            const uint8_t* sample[3] = {};
            for (int c = 0; c < components; ++c) {
                const jpeg_component_info& component = info.comp_info[c];
                const int hs = layout.maxH / component.h_samp_factor;
                const int vs = layout.maxV / component.v_samp_factor;
                const size_t stride = size_t(component.width_in_blocks) * 8;
                const size_t componentRows = (height * size_t(component.v_samp_factor) + size_t(layout.maxV) - 1) /
                                             size_t(layout.maxV);
                const size_t nearRow = y / size_t(vs);
                size_t farRow = nearRow;
                if (vs == 2)
                    farRow = y % 2 == 1 ? std::min(nearRow + 1, componentRows - 1) : (y == 0 ? 0 : nearRow - 1);
                const uint8_t* near = planes[c] + (nearRow - size_t(firstRow[c]) * 8) * stride;
                const uint8_t* far = planes[c] + (farRow - size_t(firstRow[c]) * 8) * stride;
                if (hs == 1 && vs == 1) {
                    sample[c] = near;
                } else {
                    upsampleRow(near, far, (width + size_t(hs) - 1) / size_t(hs), hs, vs, rows[c]);
                    sample[c] = rows[c];
                }
            }
            uint8_t* pixel = out + y * width * 4;
            if (components == 1) {
                for (size_t x = 0; x < width; ++x, pixel += 4) {
                    pixel[0] = pixel[1] = pixel[2] = sample[0][x];
                    pixel[3] = 0xFF;
                }
            } else if (info.jpeg_color_space == JCS_RGB) {
                for (size_t x = 0; x < width; ++x, pixel += 4) {
                    for (int c = 0; c < 3; ++c) pixel[c] = sample[c][x];
                    pixel[3] = 0xFF;
                }
            } else {
                for (size_t x = 0; x < width; ++x, pixel += 4)
                    ycbcrToRgba(sample[0][x], sample[1][x], sample[2][x], pixel);
            }
        }
    }
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
    JpegLayout layout;
    if (const char* problem = jpegCheckFormat(reader.info, layout)) return problem;
    jvirt_barray_ptr* arrays = nullptr;
    if (!jpegReadCoefficients(reader, arrays)) return keepProblem(reader.problem);
    DecodeBuffer planes[3];
    DecodeBuffer rows[3];
    uint8_t* planePointers[3] = {};
    uint8_t* rowPointers[3] = {};
    for (int c = 0; c < reader.info.num_components; ++c) {
        const jpeg_component_info& component = reader.info.comp_info[c];
        planes[c].resize(size_t(component.width_in_blocks) * 8 * planeRows(component, layout));
        rows[c].resize(size_t(width) + 4);
        planePointers[c] = planes[c].data();
        rowPointers[c] = rows[c].data();
    }
    out.bytes.resize(size_t(width) * size_t(height) * 4);
    if (!jpegReadPixels(reader, arrays, layout, planePointers, rowPointers, out.bytes.data())) {
        return keepProblem(reader.problem);
    }
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

namespace {

uint32_t packRgba(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

// Copies columns x0 .. x0 + frameWidth - 1 of a decoded picture into image.
bool cutFrame(PixelImage& image, const RgbaPicture& rgba, int32_t x0, int32_t frameWidth, int32_t frameHeight,
              const char* name) {
    if (x0 < 0 || frameWidth <= 0 || int64_t(x0) + frameWidth > rgba.width || frameHeight != rgba.height) {
        std::fprintf(stderr, "picture: %s: frame %dx%d at x %d does not fit the %dx%d picture\n", name, frameWidth,
                     frameHeight, x0, rgba.width, rgba.height);
        return false;
    }
    PixelImage cut;
    try {
        cut.pixels.reserve(size_t(frameWidth) * size_t(frameHeight));
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "picture: %s: does not fit in memory\n", name);
        return false;
    }
    cut.width = frameWidth;
    cut.height = frameHeight;
    // Appended rather than sized first, so no pixel is written twice.
    for (int32_t y = 0; y < frameHeight; ++y) {
        const uint8_t* row = rgba.bytes.data() + (size_t(y) * size_t(rgba.width) + size_t(x0)) * 4;
        for (int32_t x = 0; x < frameWidth; ++x) cut.pixels.push_back(packRgba(row + size_t(x) * 4));
    }
    image = std::move(cut);
    return true;
}

std::string resourceName(int32_t id) { return "resource " + std::to_string(id); }

void reportPicture(const char* name, const char* problem) { std::fprintf(stderr, "picture: %s: %s\n", name, problem); }

} // namespace

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

bool decodeImageBytes(PixelImage& image, const uint8_t* bytes, size_t size, const char* name) {
    RgbaPicture rgba;
    if (const char* problem = decodeRgbaPicture(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    return cutFrame(image, rgba, 0, rgba.width, rgba.height, name);
}

bool decodeFrameBytes(PixelImage& image, const uint8_t* bytes, size_t size, int32_t x0, int32_t frameWidth,
                      int32_t frameHeight, const char* name) {
    RgbaPicture rgba;
    if (const char* problem = decodeRgbaPicture(bytes, size, rgba)) {
        reportPicture(name, problem);
        return false;
    }
    return cutFrame(image, rgba, x0, frameWidth, frameHeight, name);
}

bool decodeResourceImage(PixelImage& image, int32_t id) {
    const ResourceData data = findResource(id);
    return decodeImageBytes(image, data.bytes, data.size, resourceName(id).c_str());
}

void buildFrameSet(FrameSet& set, int32_t id, int32_t count, int32_t frameWidth, int32_t frameHeight) {
    set.images.assign(size_t(std::max(count, 0)), PixelImage{});
    set.count = 0;
    // One decode for the whole strip, then every frame is cut from it.
    RgbaPicture rgba;
    const ResourceData data = findResource(id);
    const std::string name = resourceName(id);
    if (const char* problem = decodeRgbaPicture(data.bytes, data.size, rgba)) {
        reportPicture(name.c_str(), problem);
    } else {
        for (int32_t i = 0; i < count; ++i) {
            if (!cutFrame(set.images[size_t(i)], rgba, i * frameWidth, frameWidth, frameHeight, name.c_str())) break;
        }
    }
    set.count = std::max(count, 0);
}

void loadBmpSheet(const char* windowsPath, uint32_t* buffer, int32_t width, int32_t height) {
    const size_t pixelCount = size_t(width) * size_t(height);
    std::fill(buffer, buffer + pixelCount, 0u);
    std::vector<uint8_t> file;
    if (!readWholeFile(windowsPath, "font sheet", kMaxFontSheetFileBytes, file)) return;
    auto fail = [&](const char* problem) {
        std::fprintf(stderr, "font sheet: %s: %s; its text will not show\n", windowsPath, problem);
    };
    auto read16 = [&](size_t at) { return uint32_t(file[at]) | uint32_t(file[at + 1]) << 8; };
    auto read32 = [&](size_t at) { return read16(at) | read16(at + 2) << 16; };
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return fail("not a BMP file");
    const uint32_t dataOffset = read32(10);
    const uint32_t headerSize = read32(14);
    const int32_t fileWidth = static_cast<int32_t>(read32(18));
    const int32_t fileHeight = static_cast<int32_t>(read32(22));
    const uint32_t bits = read16(28);
    const uint32_t compression = read32(30);
    if (headerSize < 40) return fail("unsupported BMP header");
    if (bits != 24 || compression != 0) return fail("not an uncompressed 24-bit BMP");
    // A negative height is a top-down file.
    const bool topDown = fileHeight < 0;
    if (fileWidth != width || (topDown ? -int64_t(fileHeight) : fileHeight) != height) {
        char problem[64];
        std::snprintf(problem, sizeof problem, "is %dx%d, not %dx%d", fileWidth, fileHeight, width, height);
        return fail(problem);
    }
    const size_t rowBytes = size_t(width) * 3;
    const size_t padding = (4 - rowBytes % 4) % 4;
    const uint64_t needed = uint64_t(dataOffset) + uint64_t(rowBytes + padding) * uint64_t(height) - padding;
    if (dataOffset < 14 + uint64_t(headerSize) || needed > file.size()) return fail("truncated");
    for (int32_t r = 0; r < height; ++r) {
        const uint8_t* src = file.data() + dataOffset + size_t(r) * (rowBytes + padding);
        const int32_t y = topDown ? r : height - 1 - r;
        uint32_t* dst = buffer + size_t(y) * size_t(width);
        for (int32_t x = 0; x < width; ++x, src += 3) {
            dst[x] = 0xFF000000u | uint32_t(src[2]) << 16 | uint32_t(src[1]) << 8 | uint32_t(src[0]);
        }
    }
}

void advanceSprite(SpriteRecord& sprite, const FrameSet* set) {
    // The record's own frames-per-image paces it; the loaded set is shared and never written.
    if (set == nullptr || set->count <= 0) return;
    sprite.tick += 1;
    if (sprite.tick >= sprite.framesPerImage) {
        sprite.imageIndex = (sprite.imageIndex + 1) % set->count;
        if (sprite.imageIndex < 0) sprite.imageIndex = 0;
        sprite.tick = 0;
    }
}
