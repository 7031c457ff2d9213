// Texture conversion speed against a plain copy of the same pixel bytes: the conversion is one
// pass over the member, so it should stay within a small factor of memcpy.

#include <cstdint>
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include "core/gamedata/textures.h"

namespace {
std::vector<uint8_t> SquareTexture(int side)
{
    std::vector<uint8_t> bytes(76 + 40 + 24, 0);
    std::memcpy(bytes.data(), "MAT ", 4);
    const int32_t words[] = {2, 1};
    std::memcpy(&bytes[8], words, sizeof words);
    const int32_t size[] = {side, side};
    std::memcpy(&bytes[116], size, sizeof size);
    for (int i = 0; i < side * side; ++i)
        bytes.push_back(static_cast<uint8_t>(i * 7));
    return bytes;
}

void BM_ReadMat(benchmark::State &state)
{
    const int side = static_cast<int>(state.range(0));
    const std::vector<uint8_t> mat = SquareTexture(side);
    for (auto _ : state)
    {
        const TResult<TMatPicture> picture = ReadMat(mat, TColormap());
        if (!picture)
        {
            state.SkipWithError(picture.Error().c_str());
            break;
        }
        benchmark::DoNotOptimize(picture->Bmp.data());
    }
    state.SetBytesProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_ReadMat)->Arg(64)->Arg(256)->Arg(1024);

// The floor: copying the pixel bytes once into a fresh buffer of the BMP's size.
void BM_Memcpy(benchmark::State &state)
{
    const size_t pixels = static_cast<size_t>(state.range(0) * state.range(0));
    const std::vector<uint8_t> source(pixels, 7);
    for (auto _ : state)
    {
        std::vector<uint8_t> target(pixels + BmpPixelOffset);
        std::memcpy(target.data() + BmpPixelOffset, source.data(), pixels);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(pixels));
}
BENCHMARK(BM_Memcpy)->Arg(64)->Arg(256)->Arg(1024);
} // namespace
