#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gamedata/archive.h"
#include "core/gamedata/textures.h"
#include "tests/core/gobbuilder.h"

namespace {
using TBytes = std::vector<uint8_t>;

void PutInt(TBytes &bytes, size_t at, int32_t value)
{
    if (bytes.size() < at + 4)
        bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

TBytes Patched(TBytes bytes, size_t at, int32_t value)
{
    PutInt(bytes, at, value);
    return bytes;
}

TBytes Cut(TBytes bytes, size_t size)
{
    bytes.resize(size);
    return bytes;
}

uint32_t GetInt(const TBytes &bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[at + i];
    return value;
}

uint16_t GetShort(const TBytes &bytes, size_t at)
{
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

TBytes MatHeaderBytes(int32_t type, int32_t records)
{
    TBytes bytes(76, 0);
    std::memcpy(bytes.data(), "MAT ", 4);
    PutInt(bytes, 4, 0x32);
    PutInt(bytes, 8, type);
    PutInt(bytes, 12, records);
    PutInt(bytes, 24, 8); // bits per texel
    return bytes;
}

using TPixelFn = std::function<uint8_t(int, int)>;

// A texture material whose pixel at (x, y), row 0 on top, is pixel(x, y), by default x + 16 y.
TBytes TextureMat(int width, int height, TPixelFn pixel = nullptr, int records = 1)
{
    if (!pixel)
        pixel = [](int x, int y) { return static_cast<uint8_t>(x + 16 * y); };
    TBytes bytes = MatHeaderBytes(2, records);
    bytes.resize(76 + 40 * static_cast<size_t>(records), 0);
    const size_t head = bytes.size();
    PutInt(bytes, head, width);
    PutInt(bytes, head + 4, height);
    bytes.resize(head + 24, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bytes.push_back(pixel(x, y));
    return bytes;
}

TBytes SolidMat(int32_t colorWord, int32_t type = 0, int32_t records = 1)
{
    TBytes bytes = MatHeaderBytes(type, records);
    PutInt(bytes, 76, 0);
    PutInt(bytes, 80, colorWord);
    bytes.resize(100, 0);
    return bytes;
}

// A colormap with red i, green 255 - i and blue i ^ 0x55 at entry i, followed by tail bytes.
TBytes CmpBytes(size_t tail = 0)
{
    TBytes bytes(64, 0);
    std::memcpy(bytes.data(), "CMP ", 4);
    for (int i = 0; i < 256; ++i)
    {
        bytes.push_back(static_cast<uint8_t>(i));
        bytes.push_back(static_cast<uint8_t>(255 - i));
        bytes.push_back(static_cast<uint8_t>(i ^ 0x55));
    }
    bytes.resize(bytes.size() + tail, 0xEE);
    return bytes;
}

// The palette index at (x, y) of a BMP, y = 0 being the top line of the picture.
uint8_t PixelAt(const TBytes &bmp, int x, int y)
{
    const int width = static_cast<int>(GetInt(bmp, 18));
    const int height = static_cast<int>(GetInt(bmp, 22));
    const size_t stride = static_cast<size_t>(BmpStride(width));
    return bmp[1078 + static_cast<size_t>(height - 1 - y) * stride + static_cast<size_t>(x)];
}

class MatTest : public ::testing::Test
{
  protected:
    // The colours of a picture without a colormap.
    const TColormap Black;
};

TEST_F(MatTest, BmpLayoutFollowsTheTextureSize)
{
    struct TCase
    {
        int Width, Height, Stride;
        uint32_t FileSize;
    };
    const TCase cases[] = {
        {64, 64, 64, 5174}, {30, 2, 32, 1142}, {32, 2, 32, 1142},
        {33, 2, 36, 1150},  {1, 1, 4, 1082},   {256, 32, 256, 9270},
    };
    for (const TCase &c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.Width << " x " << c.Height);
        EXPECT_EQ(BmpStride(c.Width), c.Stride);
        const TMatPicture picture = *ReadMat(TextureMat(c.Width, c.Height), Black);
        const TBytes &bmp = picture.Bmp;
        ASSERT_EQ(bmp.size(), c.FileSize);
        EXPECT_EQ(GetShort(bmp, 0), 0x4D42);
        EXPECT_EQ(GetInt(bmp, 2), c.FileSize);
        EXPECT_EQ(GetInt(bmp, 6), 0u);
        EXPECT_EQ(GetInt(bmp, 10), 1078u);
        EXPECT_EQ(GetInt(bmp, 14), 40u);
        EXPECT_EQ(GetInt(bmp, 18), static_cast<uint32_t>(c.Width));
        EXPECT_EQ(GetInt(bmp, 22), static_cast<uint32_t>(c.Height));
        EXPECT_EQ(GetShort(bmp, 26), 1);
        EXPECT_EQ(GetShort(bmp, 28), 8);
        for (size_t at = 30; at < 54; at += 4)
            EXPECT_EQ(GetInt(bmp, at), 0u) << "info header byte " << at;
        EXPECT_EQ(picture.Width, c.Width);
        EXPECT_EQ(picture.Height, c.Height);
    }
}

TEST_F(MatTest, FirstMatRowIsTheTopOfThePictureAndPaddingIsZero)
{
    const TBytes bmp = ReadMat(TextureMat(33, 5), Black)->Bmp;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(PixelAt(bmp, x, y), static_cast<uint8_t>(x + 16 * y)) << x << "," << y;
    // The bottom line of a BMP is stored first.
    EXPECT_EQ(bmp[1078], 4 * 16);
    for (int row = 0; row < 5; ++row)
        for (int pad = 33; pad < 36; ++pad)
            EXPECT_EQ(bmp[1078 + static_cast<size_t>(row) * 36 + static_cast<size_t>(pad)], 0);
}

TEST_F(MatTest, SolidColourMaterialIsA64SquareOfItsIndex)
{
    struct TCase
    {
        int32_t Type, Records, ColorWord;
        uint8_t Index;
    };
    // Only the low byte of the colour word counts, and any type but 2 is a solid colour.
    const TCase cases[] = {{0, 1, 5, 5}, {0, 3, 5, 5}, {1, 0, 0x7705, 5}, {-1, 5, 255, 255}};
    for (const TCase &c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.Type << " records " << c.Records);
        const TMatPicture picture = *ReadMat(SolidMat(c.ColorWord, c.Type, c.Records), Black);
        EXPECT_TRUE(picture.Solid);
        ASSERT_EQ(picture.Bmp.size(), 5174u);
        EXPECT_EQ(picture.PixelSizeText, "Size in pixels =  64 Wide x  64 High");
        for (size_t at = 1078; at < picture.Bmp.size(); ++at)
            ASSERT_EQ(picture.Bmp[at], c.Index) << "byte " << at;
    }
}

TEST_F(MatTest, TextureHeaderFollowsTheMaterialRecords)
{
    // Three records put the texture header at 76 + 120 = 196; a decoy sits where one record
    // would have put it.
    const TBytes bytes = Patched(Patched(TextureMat(8, 4, nullptr, 3), 116, 2), 120, 2);
    ASSERT_EQ(GetInt(bytes, 196), 8u);
    const TMatPicture picture = *ReadMat(bytes, Black);
    EXPECT_FALSE(picture.Solid);
    EXPECT_EQ(picture.Width, 8);
    EXPECT_EQ(picture.Height, 4);
    EXPECT_EQ(PixelAt(picture.Bmp, 7, 3), 7 + 16 * 3);
}

TEST_F(MatTest, PaletteIsBlueGreenRedZeroFromTheColormap)
{
    const TBytes cmp = CmpBytes(82752 - 832);
    const TColormap colors = *ReadCmpBytes(cmp.data(), cmp.size());

    const TBytes bmp = ReadMat(TextureMat(4, 4), colors)->Bmp;
    for (int i = 0; i < 256; ++i)
    {
        const size_t at = 54 + 4 * static_cast<size_t>(i);
        ASSERT_EQ(bmp[at], i ^ 0x55) << "blue " << i;
        ASSERT_EQ(bmp[at + 1], 255 - i) << "green " << i;
        ASSERT_EQ(bmp[at + 2], i) << "red " << i;
        ASSERT_EQ(bmp[at + 3], 0) << "reserved " << i;
    }
    EXPECT_EQ(colors.Red[10], 10);
    EXPECT_EQ(colors.Green[10], 245);
    EXPECT_EQ(colors.Blue[10], 10 ^ 0x55);
}

TEST_F(MatTest, WithoutAColormapThePictureIsBlack)
{
    const TBytes bmp = ReadMat(TextureMat(16, 16), Black)->Bmp;
    for (size_t at = 54; at < 1078; ++at)
        ASSERT_EQ(bmp[at], 0) << "palette byte " << at;
}

TEST_F(MatTest, SizeTexts)
{
    struct TCase
    {
        int Width, Height;
        const char *Pixels, *Grid;
    };
    const TCase cases[] = {
        {64, 64, "Size in pixels =  64 Wide x  64 High",
         "Size in Kovo Grid = 0.20 Wide x 0.20 High"},
        {256, 32, "Size in pixels = 256 Wide x  32 High",
         "Size in Kovo Grid = 0.80 Wide x 0.10 High"},
        {8, 1024, "Size in pixels =   8 Wide x 1024 High",
         "Size in Kovo Grid = 0.03 Wide x 3.20 High"},
    };
    for (const TCase &c : cases)
    {
        const TMatPicture picture = *ReadMat(TextureMat(c.Width, c.Height), Black);
        EXPECT_EQ(picture.PixelSizeText, c.Pixels);
        EXPECT_EQ(picture.GridSizeText, c.Grid);
    }
}

TEST_F(MatTest, RefusedFilesNameTheReasonAndReleaseTheStream)
{
    struct TCase
    {
        const char *Name;
        TBytes Bytes;
        const char *Message;
    };
    const TBytes texture = TextureMat(4, 4); // 16 pixel bytes
    const auto sized = [&](int32_t width, int32_t height) {
        return Patched(Patched(texture, 116, width), 120, height);
    };
    const TCase cases[] = {
        {"empty", {}, "Not a Mat File"},
        {"wrong signature", Patched(texture, 0, 0x2154414D), "Not a Mat File"}, // "MAT!"
        {"cut header", Cut(texture, 50), "Mat file ends inside its header"},
        {"records past the end", Patched(texture, 12, 2),
         "Mat file ends before its texture header"},
        {"huge record count", Patched(texture, 12, 0x7FFFFFFF),
         "Mat file ends before its texture header"},
        {"negative record count", Patched(texture, 12, -1),
         "Mat file ends before its texture header"},
        {"zero width", sized(0, 4), "Bad texture size 0 x 4"},
        {"negative height", sized(4, -4), "Bad texture size 4 x -4"},
        {"absurd width", sized(16385, 1), "Bad texture size 16385 x 1"},
        {"largest side, far too few pixels", sized(16384, 16384),
         "Texture of 16384 x 16384 pixels does not fit in the 16 pixel bytes of the file"},
        {"more than twice the pixels there are", sized(4, 9),
         "Texture of 4 x 9 pixels does not fit in the 16 pixel bytes of the file"},
        {"solid colour without its record", Cut(SolidMat(5), 90),
         "Mat file ends before its colour record"},
    };
    for (const TCase &c : cases)
    {
        SCOPED_TRACE(c.Name);
        const TResult<TMatPicture> picture = ReadMat(c.Bytes, Black);
        EXPECT_FALSE(picture);
        EXPECT_EQ(picture.Error(), c.Message);
    }
}

TEST_F(MatTest, RowsPastAnEarlyEndAreBlack)
{
    // Half the pixels are still enough to take the file for what it says it is.
    const TBytes bytes = TextureMat(4, 4, [](int, int) { return uint8_t{7}; });
    const TBytes bmp = ReadMat(Cut(bytes, bytes.size() - 6), Black)->Bmp;
    ASSERT_EQ(bmp.size(), 1078u + 16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(PixelAt(bmp, x, y), 4 * y + x < 10 ? 7 : 0) << x << "," << y;
}

TEST_F(MatTest, AColormapCutBeforeItsPaletteEndsIsRefused)
{
    const TBytes cmp = CmpBytes();
    const TColormap colors = *ReadCmpBytes(cmp.data(), 832);
    EXPECT_EQ(colors.Red[255], 255);
    EXPECT_EQ(colors.Blue[255], 255 ^ 0x55);
    EXPECT_EQ(ReadCmpBytes(cmp.data(), 831).Error(), "Colormap too short: 831 bytes, 832 needed");
}

// Archives are written to a scratch folder that lives as long as the test.
class MatArchiveTest : public MatTest
{
  protected:
    void SetUp() override
    {
        MatTest::SetUp();
        Dir = std::filesystem::temp_directory_path() /
              ("qxmattest-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
               "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    struct TMember
    {
        std::string Name;
        TBytes Bytes;
        std::optional<int32_t> Length = {};
    };

    TGobArchive WriteGob(const std::vector<TMember> &members)
    {
        TGobBuilder builder;
        for (const TMember &member : members)
            builder.Add(member.Name, std::string(member.Bytes.begin(), member.Bytes.end()), {},
                        member.Length);
        const std::string path = (Dir / "test.gob").string();
        const std::string gob = builder.Build();
        std::ofstream(path, std::ios::binary)
            .write(gob.data(), static_cast<std::streamsize>(gob.size()));
        TGobArchive archive;
        EXPECT_TRUE(ReadGobHeader(path, archive));
        EXPECT_TRUE(ReadGobDirectory(archive));
        return archive;
    }

    std::filesystem::path Dir;
};

TEST_F(MatArchiveTest, MemberConvertsWithAColormapFromTheSameArchive)
{
    const TGobArchive gob =
        WriteGob({{"misc\\cmp\\dflt.cmp", CmpBytes(100)}, {"mat\\wall.mat", TextureMat(32, 16)}});
    const TMatPicture picture = *LoadMatFromArchive(gob, 1, *ReadCmp(gob, 0));
    ASSERT_EQ(picture.Bmp.size(), 1078u + 32 * 16);
    EXPECT_EQ(PixelAt(picture.Bmp, 31, 15), static_cast<uint8_t>(31 + 16 * 15));
    EXPECT_EQ(picture.Bmp[54 + 4 * 200 + 2], 200); // red of entry 200
    EXPECT_EQ(picture.GridSizeText, "Size in Kovo Grid = 0.10 Wide x 0.05 High");
}

TEST_F(MatArchiveTest, MembersAreReadOnlyWithinTheirBounds)
{
    // The short colormap is followed by the texture's bytes, which must not be taken for the
    // rest of its palette; the last entry claims more bytes than the archive has.
    const TGobArchive gob = WriteGob({{"misc\\cmp\\short.cmp", Cut(CmpBytes(), 400)},
                                      {"mat\\wall.mat", TextureMat(32, 32)},
                                      {"mat\\long.mat", TextureMat(8, 8), 0x7FFFFFF0}});
    EXPECT_EQ(ReadCmp(gob, 0).Error(), "Colormap too short: 400 bytes, 832 needed");
    EXPECT_EQ(LoadMatFromArchive(gob, 2, Black).Error(), "Read beyond end of file");
    EXPECT_EQ(ReadCmp(gob, 2).Error(), "Read beyond end of file");
    // Every member index is checked by the archive reader, with its error.
    EXPECT_THROW((void)LoadMatFromArchive(gob, 3, Black), std::out_of_range);
    EXPECT_THROW((void)LoadMatFromArchive(gob, -1, Black), std::out_of_range);
    EXPECT_THROW((void)ReadCmp(gob, 3), std::out_of_range);
}
} // namespace
