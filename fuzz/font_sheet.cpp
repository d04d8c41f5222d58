// The BMP font-sheet reader, at the sizes of the game's two sheets, with a guard word past each
// buffer.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "assets/images.h"
#include "fuzz_file.h"

namespace {

constexpr uint32_t kGuard = 0xCAFEF00D;

void readSheet(int32_t width, int32_t height) {
    std::vector<uint32_t> sheet(size_t(width) * size_t(height) + 1);
    sheet.back() = kGuard;
    loadBmpSheet(fuzzFilePath().c_str(), sheet.data(), width, height);
    if (sheet.back() != kGuard) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!writeFuzzFile(data, size)) return 0;
    readSheet(416, 72); // the small sheet
    readSheet(512, 84); // the large sheet
    return 0;
}
