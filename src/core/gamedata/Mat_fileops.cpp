#include "core/gamedata/Mat_fileops.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

#include "core/gamedata/G_fileops.h"
#include "core/shell/fileio.h"
#include "core/shell/ioerror.h"

// The headers are copied byte for byte into the records above; the files are little-endian.
static_assert(std::endian::native == std::endian::little);

std::array<TColormap, MaxColormaps> Colormaps{};
std::array<uint8_t, BmpPaletteSize> BmpPalette{};
std::array<uint8_t, CmpHeaderSize> CmpHeader{};
TMatHeader MatHeader{};
TMatTextureHeader MatTextureHeader{};
TMatColorRecord MatColorRecord{};
uint8_t SolidColorMat = 0;
TMemStream MatStream;
TMemStream BmpStream;

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
void CheckSlot(int slot)
{
    if (slot < 0 || slot >= MaxColormaps)
    {
        char text[64];
        std::snprintf(text, sizeof text, "Colormap slot %d does not exist", slot);
        throw TMatError(text);
    }
}

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

// Empties a texture's stream however the conversion ends.
struct TMatStreamRelease
{
    TMemStream &Stream;
    ~TMatStreamRelease() { Stream.Clear(); }
};

// Refuses a texture size before anything is allocated for it. Pixel rows may run past the end
// of a damaged file and are then shown black, but a file that holds less than half of the
// pixels it claims is not taken for that texture: the picture could otherwise be any size.
void CheckTextureSize(int32_t width, int32_t height, size_t pixelBytes)
{
    char text[128];
    if (width <= 0 || height <= 0 || width > MaxMatSide || height > MaxMatSide)
    {
        std::snprintf(text, sizeof text, "Bad texture size %d x %d", width, height);
        throw TMatError(text);
    }
    if (int64_t{width} * height > 2 * static_cast<int64_t>(pixelBytes))
    {
        std::snprintf(text, sizeof text,
                      "Texture of %d x %d pixels does not fit in the %zu pixel bytes of the file",
                      width, height, pixelBytes);
        throw TMatError(text);
    }
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

void ClearColormaps()
{
    Colormaps = {};
}

void BuildBmpPalette(int slot)
{
    CheckSlot(slot);
    const TColormap &map = Colormaps[static_cast<size_t>(slot)];
    for (int i = 0; i < 256; ++i)
    {
        BmpPalette[4 * i] = map.Blue[i];
        BmpPalette[4 * i + 1] = map.Green[i];
        BmpPalette[4 * i + 2] = map.Red[i];
        BmpPalette[4 * i + 3] = 0;
    }
}

void WriteBmpHeaders(TMemStream &target)
{
    const int64_t width = MatTextureHeader.Width;
    const int64_t height = MatTextureHeader.Height;
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
    target.Write(BmpPalette.data(), BmpPalette.size());
}

void ReadMatRow(TMemStream &source, uint8_t *row)
{
    const size_t width = static_cast<size_t>(MatTextureHeader.Width);
    if (SolidColorMat)
    {
        std::memset(row, static_cast<uint8_t>(MatColorRecord.ColorIndex), width);
        return;
    }
    // A file that ends early leaves the rest of its last rows black.
    const size_t got = source.Read(row, width);
    std::memset(row + got, 0, width - got);
}

TMatPicture BuildBmpStream(TMemStream &source)
{
    const int width = MatTextureHeader.Width;
    const int height = MatTextureHeader.Height;
    const size_t stride = static_cast<size_t>(BmpStride(width));

    TMatPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.PixelSizeText = PixelSizeText(width, height);
    picture.GridSizeText = GridSizeText(width, height);

    BmpStream.Clear();
    BmpStream.Data.reserve(BmpPixelOffset + stride * static_cast<size_t>(height));
    WriteBmpHeaders(BmpStream);
    // Every row is written in place, padding included, so the bytes past the width are 0.
    BmpStream.Data.resize(BmpPixelOffset + stride * static_cast<size_t>(height));
    // BMP rows run bottom-up: the first MAT row goes last, which puts it on top of the picture.
    for (int n = height - 1; n >= 0; --n)
        ReadMatRow(source,
                   BmpStream.Data.data() + BmpPixelOffset + static_cast<size_t>(n) * stride);

    picture.Bmp = std::move(BmpStream.Data);
    BmpStream.Clear();
    return picture;
}

TMatPicture ReadMat(int slot)
{
    return ReadMat(MatStream, slot);
}

TMatPicture ReadMat(TMemStream &stream, int slot)
{
    TMatStreamRelease release{stream};
    CheckSlot(slot);
    MatHeader = {};
    stream.Seek(0);
    const size_t got = stream.Read(&MatHeader, sizeof MatHeader);
    if (got < 4 || std::memcmp(MatHeader.Signature, "MAT ", 4) != 0)
        throw TMatError("Not a Mat File");
    if (got < sizeof MatHeader)
        throw TMatError("Mat file ends inside its header");

    if (MatHeader.Type == MatTypeTexture)
    {
        // The material records in front of the texture are not needed for the first image.
        const int64_t at = MatHeaderSize + int64_t{MatRecordSize} * MatHeader.RecordCount;
        MatTextureHeader = {};
        if (MatHeader.RecordCount < 0 ||
            at + MatTextureHeaderSize > static_cast<int64_t>(stream.Size()))
            throw TMatError("Mat file ends before its texture header");
        stream.Seek(static_cast<size_t>(at));
        stream.Read(&MatTextureHeader, sizeof MatTextureHeader);
        SolidColorMat = 0;
        CheckTextureSize(MatTextureHeader.Width, MatTextureHeader.Height,
                         stream.Size() - stream.Position);
    }
    else
    {
        // Any type other than a texture is a solid colour, whatever the record count says.
        MatColorRecord = {};
        if (stream.Read(&MatColorRecord, sizeof MatColorRecord) < sizeof MatColorRecord)
            throw TMatError("Mat file ends before its colour record");
        MatTextureHeader = {};
        MatTextureHeader.Width = SolidColorSide;
        MatTextureHeader.Height = SolidColorSide;
        SolidColorMat = 1;
    }

    BuildBmpPalette(slot);
    return BuildBmpStream(stream);
}

TMatPicture ReadMat(const uint8_t *data, size_t size, int slot)
{
    MatStream.Clear();
    MatStream.Data.assign(data, data + size);
    return ReadMat(slot);
}

TMatPicture ReadMat(const std::vector<uint8_t> &bytes, int slot)
{
    return ReadMat(bytes.data(), bytes.size(), slot);
}

TMatPicture LoadMatFromArchive(const std::string &archivePath, int index, int slot)
{
    CheckSlot(slot);
    TMatStreamRelease release{MatStream};
    MatStream.Clear();
    MatStream.Data = ReadGobMemberBytes(archivePath, index);
    return ReadMat(MatStream, slot);
}

void ReadCmpBytes(const uint8_t *data, size_t size, int slot)
{
    CheckSlot(slot);
    // A cut-off colormap is refused whole rather than loaded half black; the slot keeps what it
    // had.
    if (size < static_cast<size_t>(CmpPaletteEnd))
    {
        char text[96];
        std::snprintf(text, sizeof text, "Colormap too short: %zu bytes, %d needed", size,
                      CmpPaletteEnd);
        throw TMatError(text);
    }
    std::memcpy(CmpHeader.data(), data, CmpHeaderSize);
    TColormap &map = Colormaps[static_cast<size_t>(slot)];
    const uint8_t *triple = data + CmpHeaderSize;
    for (int i = 0; i < 256; ++i, triple += 3)
    {
        map.Red[i] = triple[0];
        map.Green[i] = triple[1];
        map.Blue[i] = triple[2];
    }
}

void ReadCmp(const std::string &archivePath, int index, int slot)
{
    CheckSlot(slot);
    // Only the header and the palette are needed; the light tables after them are not read.
    const std::vector<uint8_t> bytes = ReadGobMemberBytes(archivePath, index, CmpPaletteEnd);
    ReadCmpBytes(bytes.data(), bytes.size(), slot);
}

void LoadCmpFile(const std::string &path, int slot)
{
    CheckSlot(slot);
    TBinFile file;
    file.OpenRead(path);
    uint8_t bytes[CmpPaletteEnd];
    const size_t count = file.ReadSome(bytes, sizeof bytes);
    file.Close();
    ReadCmpBytes(bytes, count, slot);
}
