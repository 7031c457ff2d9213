#include "core/gamedata/textures.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "core/gamedata/archive.h"
#include "core/shell/binfile.h"
#include "core/shell/ioerror.h"

// The headers are copied byte for byte into the records above; the files are little-endian.
static_assert(std::endian::native == std::endian::little);

size_t TMemStream::Read(void *dest, size_t count)
{
    if (Position >= Data.size())
        return 0;
    const size_t got = std::min(count, Data.size() - Position);
    std::memcpy(dest, Data.data() + Position, got);
    Position += got;
    return got;
}

void TMemStream::Write(const void *src, size_t count)
{
    if (count == 0)
        return;
    if (Position + count > Data.size())
        Data.resize(Position + count);
    std::memcpy(Data.data() + Position, src, count);
    Position += count;
}

void TMemStream::Clear()
{
    Data = {};
    Position = 0;
}

namespace {
// What a MAT gives to draw: the size of its first image, and for a solid-colour material its
// colour record.
struct TMatImage
{
    TMatTextureHeader Texture{};
    TMatColorRecord Color{};
    bool Solid = false;
};

void PutLE16(uint8_t *at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutLE32(uint8_t *at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

// Refuses a texture size before anything is allocated for it. Pixel rows may run past the end
// of a damaged file and are then shown black, but a file that holds less than half of the
// pixels it claims is not taken for that texture: the picture could otherwise be any size.
TStatus CheckTextureSize(int32_t width, int32_t height, size_t pixelBytes)
{
    char text[128];
    if (width <= 0 || height <= 0 || width > MaxMatSide || height > MaxMatSide)
    {
        std::snprintf(text, sizeof text, "Bad texture size %d x %d", width, height);
        return TFailure{text};
    }
    if (int64_t{width} * height > 2 * static_cast<int64_t>(pixelBytes))
    {
        std::snprintf(text, sizeof text,
                      "Texture of %d x %d pixels does not fit in the %zu pixel bytes of the file",
                      width, height, pixelBytes);
        return TFailure{text};
    }
    return {};
}
} // namespace

int64_t BmpStride(int64_t width)
{
    return (width & 3) == 0 ? width : (width & ~int64_t{3}) + 4;
}

std::string PixelSizeText(int width, int height)
{
    char text[80];
    std::snprintf(text, sizeof text, "Size in pixels = %3d Wide x %3d High", width, height);
    return text;
}

// The level editor's grid unit is 320 texture pixels.
std::string GridSizeText(int width, int height)
{
    char text[160];
    std::snprintf(text, sizeof text, "Size in Kovo Grid = %4.2f Wide x %4.2f High",
                  width * 0.003125, height * 0.003125);
    return text;
}

std::array<uint8_t, BmpPaletteSize> BuildBmpPalette(const TColormap &colors)
{
    std::array<uint8_t, BmpPaletteSize> palette{};
    for (int i = 0; i < 256; ++i)
    {
        palette[4 * i] = colors.Blue[i];
        palette[4 * i + 1] = colors.Green[i];
        palette[4 * i + 2] = colors.Red[i];
        palette[4 * i + 3] = 0;
    }
    return palette;
}

namespace {

void WriteBmpHeaders(TMemStream &target, const TMatImage &image,
                     const std::array<uint8_t, BmpPaletteSize> &palette)
{
    const int64_t width = image.Texture.Width;
    const int64_t height = image.Texture.Height;
    uint8_t head[BmpFileHeaderSize + BmpInfoHeaderSize] = {};
    PutLE16(head, 0x4D42); // "BM"
    PutLE32(head + 2, static_cast<uint32_t>(height * BmpStride(width) + BmpPixelOffset));
    PutLE32(head + 10, BmpPixelOffset);
    uint8_t *info = head + BmpFileHeaderSize;
    PutLE32(info, BmpInfoHeaderSize);
    // A positive height makes the rows run bottom-up.
    PutLE32(info + 4, static_cast<uint32_t>(width));
    PutLE32(info + 8, static_cast<uint32_t>(height));
    PutLE16(info + 12, 1);
    PutLE16(info + 14, 8);
    // Compression, image size, resolutions and colour counts all stay 0.
    target.Write(head, sizeof head);
    target.Write(palette.data(), palette.size());
}

// Fills the first Width bytes of row with the next texture row of source.
void ReadMatRow(TMemStream &source, const TMatImage &image, uint8_t *row)
{
    const size_t width = static_cast<size_t>(image.Texture.Width);
    if (image.Solid)
    {
        std::memset(row, static_cast<uint8_t>(image.Color.ColorIndex), width);
        return;
    }
    // A file that ends early leaves the rest of its last rows black.
    const size_t got = source.Read(row, width);
    std::memset(row + got, 0, width - got);
}

// The BMP of image, its pixels read from source, with the size texts.
TMatPicture BuildBmpStream(TMemStream &source, const TMatImage &image, const TColormap &colors)
{
    const int width = image.Texture.Width;
    const int height = image.Texture.Height;
    const size_t stride = static_cast<size_t>(BmpStride(width));

    TMatPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Solid = image.Solid;
    picture.PixelSizeText = PixelSizeText(width, height);
    picture.GridSizeText = GridSizeText(width, height);

    TMemStream bmp;
    bmp.Data.reserve(BmpPixelOffset + stride * static_cast<size_t>(height));
    WriteBmpHeaders(bmp, image, BuildBmpPalette(colors));
    // Every row is written in place, padding included, so the bytes past the width are 0.
    bmp.Data.resize(BmpPixelOffset + stride * static_cast<size_t>(height));
    // BMP rows run bottom-up: the first MAT row goes last, which puts it on top of the picture.
    for (int n = height - 1; n >= 0; --n)
        ReadMatRow(source, image,
                   bmp.Data.data() + BmpPixelOffset + static_cast<size_t>(n) * stride);
    picture.Bmp = std::move(bmp.Data);
    return picture;
}

TResult<TMatPicture> ReadMatStream(TMemStream &stream, const TColormap &colors)
{
    TMatHeader header{};
    stream.Seek(0);
    const size_t got = stream.Read(&header, sizeof header);
    if (got < 4 || std::memcmp(header.Signature, "MAT ", 4) != 0)
        return TFailure{"Not a Mat File"};
    if (got < sizeof header)
        return TFailure{"Mat file ends inside its header"};

    TMatImage image;
    if (header.Type == MatTypeTexture)
    {
        // The material records in front of the texture are not needed for the first image.
        const int64_t at = MatHeaderSize + int64_t{MatRecordSize} * header.RecordCount;
        if (header.RecordCount < 0 ||
            at + MatTextureHeaderSize > static_cast<int64_t>(stream.Size()))
            return TFailure{"Mat file ends before its texture header"};
        stream.Seek(static_cast<size_t>(at));
        stream.Read(&image.Texture, sizeof image.Texture);
        if (const TStatus size = CheckTextureSize(image.Texture.Width, image.Texture.Height,
                                                  stream.Size() - stream.Position);
            !size)
            return TFailure{size.Error()};
    }
    else
    {
        // Any type other than a texture is a solid colour, whatever the record count says.
        if (stream.Read(&image.Color, sizeof image.Color) < sizeof image.Color)
            return TFailure{"Mat file ends before its colour record"};
        image.Texture.Width = SolidColorSide;
        image.Texture.Height = SolidColorSide;
        image.Solid = true;
    }
    return BuildBmpStream(stream, image, colors);
}

} // namespace

TResult<TMatPicture> ReadMat(const uint8_t *data, size_t size, const TColormap &colors)
{
    TMemStream stream;
    stream.Data.assign(data, data + size);
    return ReadMatStream(stream, colors);
}

TResult<TMatPicture> ReadMat(const std::vector<uint8_t> &bytes, const TColormap &colors)
{
    return ReadMat(bytes.data(), bytes.size(), colors);
}

TResult<TMatPicture> LoadMatFromArchive(const TGobArchive &archive, int index,
                                        const TColormap &colors)
{
    TResult<std::vector<uint8_t>> bytes = ReadGobMemberBytes(archive, index);
    if (!bytes)
        return TFailure{bytes.Error()};
    TMemStream stream;
    stream.Data = std::move(*bytes);
    return ReadMatStream(stream, colors);
}

TResult<TColormap> ReadCmpBytes(const uint8_t *data, size_t size)
{
    // A cut-off colormap is refused whole rather than loaded half black.
    if (size < static_cast<size_t>(CmpPaletteEnd))
    {
        char text[96];
        std::snprintf(text, sizeof text, "Colormap too short: %zu bytes, %d needed", size,
                      CmpPaletteEnd);
        return TFailure{text};
    }
    TColormap map;
    const uint8_t *triple = data + CmpHeaderSize;
    for (int i = 0; i < 256; ++i, triple += 3)
    {
        map.Red[i] = triple[0];
        map.Green[i] = triple[1];
        map.Blue[i] = triple[2];
    }
    return map;
}

TResult<TColormap> ReadCmp(const TGobArchive &archive, int index)
{
    // Only the header and the palette are needed; the light tables after them are not read.
    const TResult<std::vector<uint8_t>> bytes = ReadGobMemberBytes(archive, index, CmpPaletteEnd);
    if (!bytes)
        return TFailure{bytes.Error()};
    return ReadCmpBytes(bytes->data(), bytes->size());
}

TResult<TColormap> LoadCmpFile(const std::string &path)
{
    uint8_t bytes[CmpPaletteEnd];
    const TResult<size_t> count = CatchIOError([&]() -> TResult<size_t> {
        TBinFile file;
        file.OpenRead(path);
        const size_t got = file.ReadSome(bytes, sizeof bytes);
        file.Close();
        return got;
    });
    if (!count)
        return TFailure{count.Error()};
    return ReadCmpBytes(bytes, *count);
}
