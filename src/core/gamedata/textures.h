#pragma once

// MAT textures, CMP colormaps and their conversion to an 8-bit Windows BMP held in memory.
// A MAT holds palette indices only; the colours come from the colormap the caller hands in.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/shell/result.h"

struct TGobArchive;

// The colormaps the Resource Picker offers: the first 20 of an archive.
constexpr int MaxColormaps = 20;
constexpr int CmpHeaderSize = 64;
// The header plus 256 red, green, blue triples; the light and transparency tables that follow
// in real colormaps are not needed for a preview.
constexpr int CmpPaletteEnd = CmpHeaderSize + 256 * 3;

constexpr int MatHeaderSize = 76;
constexpr int MatRecordSize = 40;
constexpr int MatTextureHeaderSize = 24;
constexpr int MatColorRecordSize = 24;
constexpr int32_t MatTypeTexture = 2;
// Solid-colour materials carry no pixels; they are shown as a square of this side.
constexpr int SolidColorSide = 64;
// No texture of the game comes near this; it keeps a forged size from asking for gigabytes.
constexpr int MaxMatSide = 16384;

constexpr int BmpFileHeaderSize = 14;
constexpr int BmpInfoHeaderSize = 40;
constexpr int BmpPaletteSize = 1024;
constexpr int BmpPixelOffset = BmpFileHeaderSize + BmpInfoHeaderSize + BmpPaletteSize; // 1078

// A colormap as three planes: all reds, then all greens, then all blues. A colormap made
// without one read into it is all black.
struct TColormap
{
    uint8_t Red[256]{};
    uint8_t Green[256]{};
    uint8_t Blue[256]{};
};

// The first 76 bytes of a MAT; only the signature, the type and the record count are used.
struct TMatHeader
{
    char Signature[4];
    int32_t Version;
    int32_t Type;
    int32_t RecordCount;
    int32_t Unused[15];
};
static_assert(sizeof(TMatHeader) == MatHeaderSize);

// The header in front of a texture's first image; only the size is used.
struct TMatTextureHeader
{
    int32_t Width;
    int32_t Height;
    int32_t Unused[4];
};
static_assert(sizeof(TMatTextureHeader) == MatTextureHeaderSize);

// The first colour record of a solid-colour material; the low byte of ColorIndex is the colour.
struct TMatColorRecord
{
    int32_t Kind;
    int32_t ColorIndex;
    int32_t Unused[4];
};
static_assert(sizeof(TMatColorRecord) == MatColorRecordSize);

// A growable byte buffer read and written at a position: the in-memory file on both sides of
// a conversion.
struct TMemStream
{
    std::vector<uint8_t> Data;
    size_t Position = 0;

    size_t Size() const { return Data.size(); }
    // Positions past the end are allowed; a read there gives nothing, a write grows the buffer.
    void Seek(size_t position) { Position = position; }
    // Copies up to count bytes from the position on and returns how many there were.
    size_t Read(void *dest, size_t count);
    void Write(const void *src, size_t count);
    void Clear();
};

// A finished conversion: the BMP file bytes and the two texts shown beside the picture.
struct TMatPicture
{
    std::vector<uint8_t> Bmp;
    int Width = 0;
    int Height = 0;
    // A solid-colour material, drawn as a square of its colour.
    bool Solid = false;
    std::string PixelSizeText;
    std::string GridSizeText;
};

// Reads member index of archive and converts it with colors. Fails as ReadGobMemberBytes does
// when the archive cannot be read or the member lies outside it, and as ReadMat does when the
// member is not a usable MAT. An index outside the directory throws std::out_of_range.
TResult<TMatPicture> LoadMatFromArchive(const TGobArchive &archive, int index,
                                        const TColormap &colors);
// Converts MAT bytes with colors. Fails with "Not a Mat File", or with the size the bytes cannot
// hold.
TResult<TMatPicture> ReadMat(const uint8_t *data, size_t size, const TColormap &colors);
TResult<TMatPicture> ReadMat(const std::vector<uint8_t> &bytes, const TColormap &colors);

// The BMP palette of colors: blue, green, red, 0 for each of the 256 entries.
std::array<uint8_t, BmpPaletteSize> BuildBmpPalette(const TColormap &colors);

// The colormap of member index of archive. A colormap that ends before its palette does is
// refused, as a member that cannot be read is.
TResult<TColormap> ReadCmp(const TGobArchive &archive, int index);
// The colormap in bytes already in memory (a whole CMP file or member).
TResult<TColormap> ReadCmpBytes(const uint8_t *data, size_t size);
// The colormap of a loose CMP file.
TResult<TColormap> LoadCmpFile(const std::string &path);

// Bytes per BMP row: the width rounded up to a multiple of 4.
int64_t BmpStride(int64_t width);
std::string PixelSizeText(int width, int height);
std::string GridSizeText(int width, int height);
