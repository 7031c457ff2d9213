// Arbitrary bytes as a MAT texture and as a CMP colormap. Besides not faulting, an accepted
// texture must give a BMP whose size matches its own header.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/gamedata/textures.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TColormap colors;
    try
    {
        colors = ReadCmpBytes(data, size);
    }
    catch (const TMatError &)
    {}
    try
    {
        const TMatPicture picture = ReadMat(data, size, colors);
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
    }
    catch (const TMatError &)
    {}
    return 0;
}
