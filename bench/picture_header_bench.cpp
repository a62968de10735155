// The header check that runs before every decode, on files of a phone photo (4000 x 3000) and of
// the sheet (680 x 480). BMP is judged from its header alone; JPEG by walking its markers and
// scanning its entropy-coded data for the end of image; PNG by checking every chunk's CRC.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "document/picture_header.h"

namespace {

typedef std::vector<uint8_t> Bytes;

void PutBe(Bytes& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(uint8_t(value >> (8 * i)));
}

// Random data of a typical photo's compressed size: about 2 bits a pixel.
Bytes CompressedData(int width, int height) {
    std::mt19937 random(7);
    Bytes data(size_t(width) * height / 4);
    for (uint8_t& byte : data)
        byte = uint8_t(random() % 255); // never 0xFF, so no marker is made
    return data;
}

Bytes Jpeg(int width, int height) {
    Bytes out = {0xFF, 0xD8, 0xFF, 0xC0, 0, 17, 8};
    PutBe(out, uint32_t(height), 2);
    PutBe(out, uint32_t(width), 2);
    out.insert(out.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    out.insert(out.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0, 2, 0x11, 3, 0x11, 0, 63, 0});
    Bytes data = CompressedData(width, height);
    out.insert(out.end(), data.begin(), data.end());
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBe(out, uint32_t(data.size()), 4);
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe(out, Crc32(0, &out[start], out.size() - start), 4);
}

Bytes Png(int width, int height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBe(header, uint32_t(width), 4);
    PutBe(header, uint32_t(height), 4);
    header.insert(header.end(), {8, 2, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    Bytes data = CompressedData(width, height);
    for (size_t at = 0; at < data.size(); at += 65536) // chunks of 64 KiB, as encoders write
        PutChunk(out, "IDAT",
                 Bytes(data.begin() + at, data.begin() + std::min(data.size(), at + 65536)));
    PutChunk(out, "IEND", {});
    return out;
}

void BM_ReadHeader(benchmark::State& state, Bytes (*make)(int, int)) {
    const int width = int(state.range(0)), height = int(state.range(1));
    const Bytes file = make(width, height);
    PictureHeader header;
    for (auto _ : state) {
        int sound = ReadPictureHeader(file.data(), file.size(), &header);
        benchmark::DoNotOptimize(sound);
        if (!sound || header.size.w != width)
            state.SkipWithError("the file was refused");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.size()));
}

BENCHMARK_CAPTURE(BM_ReadHeader, Jpeg, Jpeg)
    ->Args({680, 480})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadHeader, Png, Png)
    ->Args({680, 480})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
