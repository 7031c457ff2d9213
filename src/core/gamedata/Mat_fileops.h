#pragma once

// MAT textures, CMP colormaps and their conversion to an 8-bit Windows BMP held in memory.
// A MAT holds palette indices only; the colours come from one of the loaded colormap slots.
// The tables below are program-wide and hold the result of the last operation that filled them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

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

// A refused texture or colormap: not a MAT, a size the file cannot hold, a bad slot.
struct TMatError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

// One colormap slot as three planes: all reds, then all greens, then all blues.
struct TColormap
{
    uint8_t Red[256];
    uint8_t Green[256];
    uint8_t Blue[256];
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
    std::string PixelSizeText;
    std::string GridSizeText;
};

extern std::array<TColormap, MaxColormaps> Colormaps;
extern std::array<uint8_t, BmpPaletteSize> BmpPalette;
extern std::array<uint8_t, CmpHeaderSize> CmpHeader;
extern TMatHeader MatHeader;
extern TMatTextureHeader MatTextureHeader;
extern TMatColorRecord MatColorRecord;
// 1 when the last MAT read is a solid-colour material, else 0.
extern uint8_t SolidColorMat;
// The MAT being decoded; emptied at the end of every conversion, failed ones included.
extern TMemStream MatStream;
// The BMP being built; its bytes are handed to the caller in TMatPicture::Bmp.
extern TMemStream BmpStream;

// Reads member index of the archive at archivePath (from GobDirectory) and converts it with the
// colours of slot. Throws std::out_of_range for an index outside the directory, TIOError when
// the archive cannot be read or the member lies outside it, TMatError when the member is not a
// usable MAT.
TMatPicture LoadMatFromArchive(const std::string &archivePath, int index, int slot);
// Converts the MAT held in stream with the colours of slot, and empties stream. Throws TMatError
// ("Not a Mat File" and the refused sizes).
TMatPicture ReadMat(TMemStream &stream, int slot);
// The same for the MAT held in MatStream.
TMatPicture ReadMat(int slot);
// Converts MAT bytes already in memory.
TMatPicture ReadMat(const uint8_t *data, size_t size, int slot);
TMatPicture ReadMat(const std::vector<uint8_t> &bytes, int slot);

// Fills BmpPalette from slot as blue, green, red, 0.
void BuildBmpPalette(int slot);
// Converts the pixels of source into BmpStream, using MatTextureHeader, SolidColorMat and
// BmpPalette as ReadMat left them; returns the picture with the size texts.
TMatPicture BuildBmpStream(TMemStream &source);
void WriteBmpHeaders(TMemStream &target);
// Fills the first MatTextureHeader.Width bytes of row with the next texture row of source.
void ReadMatRow(TMemStream &source, uint8_t *row);

// Loads the colormap of member index of the archive at archivePath into slot. A colormap that
// ends before its palette does throws TMatError and leaves the slot as it was.
void ReadCmp(const std::string &archivePath, int index, int slot);
// Loads a colormap from bytes already in memory (a whole CMP file or member) into slot.
void ReadCmpBytes(const uint8_t *data, size_t size, int slot);
// Loads a loose CMP file into slot.
void LoadCmpFile(const std::string &path, int slot);
// Makes every slot black again.
void ClearColormaps();

// Bytes per BMP row: the width rounded up to a multiple of 4.
int64_t BmpStride(int64_t width);
std::string PixelSizeText(int width, int height);
std::string GridSizeText(int width, int height);
