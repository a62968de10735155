// Any bytes as a bitmap block on the clipboard. What the reader accepts must lie inside the
// block, sides from 1 to 32767, and decode without a read outside it into opaque canvas pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/clipboard_dib.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1024) // the seeds' size: longer inputs reach nothing new and bloat the corpus
        return 0;
    ClipboardDib dib;
    if (!ReadClipboardDib(data, size, &dib))
        return 0;
    FUZZ_CHECK_SIDES(dib.size);
    FUZZ_CHECK(dib.rowBytes % 4 == 0 && dib.rowBytes * 8 >= uint64_t(dib.size.w) * dib.bitCount);
    FUZZ_CHECK(dib.pixelsAt <= size && dib.rowBytes * uint64_t(dib.size.h) <= size - dib.pixelsAt);
    FUZZ_CHECK(dib.colourTableAt + 4 * uint64_t(dib.colourCount) <= dib.pixelsAt);
    // libFuzzer hands over exactly `size` bytes: a read past them is caught.
    std::vector<uint32_t> canvas(size_t(dib.size.w) * size_t(dib.size.h), 0);
    DecodeClipboardDib(data, size, dib, canvas.data());
    for (uint32_t pixel : canvas)
        FUZZ_CHECK(pixel >> 24 == 0xFF);
    return 0;
}
