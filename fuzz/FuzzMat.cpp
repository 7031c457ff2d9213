// Arbitrary bytes as a MAT texture and as a CMP colormap. Besides not faulting, an accepted
// texture must give a BMP whose size matches its own header.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/gamedata/textures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // A colormap refused leaves the texture black.
    const TResult<TColormap> cmp = ReadCmpBytes(data, size);
    const TColormap colors = cmp ? *cmp : TColormap();
    const TResult<TMatPicture> read = ReadMat(data, size, colors);
    if (!read)
    {
        // A refusal always says why.
        if (read.Error().empty())
            std::abort();
        return 0;
    }
    const TMatPicture &picture = *read;
    uint32_t fileSize = 0;
    std::memcpy(&fileSize, picture.Bmp.data() + 2, 4);
    const int64_t expected =
        BmpPixelOffset + BmpStride(picture.Width) * static_cast<int64_t>(picture.Height);
    if (fileSize != picture.Bmp.size() || static_cast<int64_t>(fileSize) != expected ||
        picture.Width <= 0 || picture.Height <= 0)
        std::abort();
    // Nothing past the member may be needed for the picture: at most twice the bytes.
    if (!picture.Solid && static_cast<size_t>(picture.Width) * picture.Height > 2 * size)
        std::abort();
    return 0;
}
