#include "TestSupport.h"
#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"
#include "render/BmpReader.h"
#include "render/BmpWriter.h"
#include "render/RenderError.h"
#include "render/Texts.h"

#include <gtest/gtest.h>
#include <vector>

using namespace render;
using namespace rendertest;

namespace {

constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kLime = 0x00FF00, kWhite = 0xFFFFFF, kBlack = 0;

// 5 x 3 red picture with a blue, a lime and a white pixel: colours every
// BMP variant stores exactly.
std::string MakeSource(const TempDir& dir)
{
    const std::string source = dir.File("src.ppm");
    EXPECT_EQ(0,
        Shell(
            "convert -size 5x3 xc:red -fill blue -draw 'point 1,0' -fill lime -draw 'point 2,1' -fill white "
            "-draw 'point 4,2' "
            + source));
    return source;
}

void ExpectSource(const Canvas& c)
{
    ASSERT_EQ(5, c.Width());
    ASSERT_EQ(3, c.Height());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            std::uint32_t want = kRed;
            if (x == 1 && y == 0)
                want = kBlue;
            if (x == 2 && y == 1)
                want = kLime;
            if (x == 4 && y == 2)
                want = kWhite;
            EXPECT_EQ(want, PixelAt(c, x, y)) << "at " << x << "," << y;
        }
}

std::string Le32(std::uint32_t v)
{
    return std::string { static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
        static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24) };
}

// A BITMAPINFOHEADER file around the given pixel data.
std::string HandMade(int width, int height, int bpp, int compression,
    const std::vector<std::uint32_t>& palette, const std::string& pixels)
{
    std::string info = Le32(40) + Le32(static_cast<std::uint32_t>(width))
        + Le32(static_cast<std::uint32_t>(height)) + std::string("\x01\x00", 2)
        + std::string { static_cast<char>(bpp), 0 } + Le32(static_cast<std::uint32_t>(compression))
        + Le32(static_cast<std::uint32_t>(pixels.size())) + Le32(0) + Le32(0)
        + Le32(static_cast<std::uint32_t>(palette.size())) + Le32(0);
    std::string table;
    for (std::uint32_t c : palette) // RGBQUAD: blue, green, red, 0
        table += std::string { static_cast<char>((c >> 16) & 0xFF), static_cast<char>((c >> 8) & 0xFF),
            static_cast<char>(c & 0xFF), 0 };
    const std::uint32_t off = static_cast<std::uint32_t>(14 + info.size() + table.size());
    return "BM" + Le32(off + static_cast<std::uint32_t>(pixels.size())) + Le32(0) + Le32(off) + info + table
        + pixels;
}

} // namespace

TEST(BmpReader, ReadsEveryVariantImageMagickWrites)
{
    TempDir dir;
    const std::string source = MakeSource(dir);
    const struct {
        const char* name;
        const char* options;
    } variants[] = {
        { "24-bit", "BMP3:" },
        { "4-bit palette", "-type Palette -compress None BMP3:" },
        { "RLE8", "-type Palette -compress RLE BMP3:" },
        { "16-bit 565 bit fields, V5 header", "-define bmp:subtype=RGB565 BMP:" },
        { "16-bit 555 bit fields", "-define bmp:subtype=RGB555 BMP:" },
        { "32-bit bit fields", "-alpha on BMP:" },
        { "OS/2 core header, 24-bit", "BMP2:" },
        { "OS/2 core header, palette", "-type Palette BMP2:" },
    };
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        const std::string out = dir.File("out.bmp");
        ASSERT_EQ(0, Shell("convert " + source + " " + v.options + out));
        ExpectSource(LoadBmpFile(out));
    }
}

TEST(BmpReader, ReadsEightAndOneBitPalettes)
{
    TempDir dir;
    // 40 distinct colours force an 8-bit palette.
    ASSERT_EQ(0, Shell("convert -size 3x40 gradient:red-blue -rotate 90 " + dir.File("g.ppm")));
    ASSERT_EQ(0, Shell("convert " + dir.File("g.ppm") + " BMP3:" + dir.File("g24.bmp")));
    ASSERT_EQ(0,
        Shell("convert " + dir.File("g.ppm") + " -type Palette -compress None BMP3:" + dir.File("g8.bmp")));
    const Canvas full = LoadBmpFile(dir.File("g24.bmp"));
    const Canvas indexed = LoadBmpFile(dir.File("g8.bmp"));
    ASSERT_EQ(40, indexed.Width());
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(PixelAt(full, x, 1), PixelAt(indexed, x, 1)) << x;

    ASSERT_EQ(0,
        Shell("convert -size 9x2 xc:black -fill white -draw 'point 0,0' -draw 'point 8,1' -type Bilevel BMP3:"
            + dir.File("mono.bmp")));
    const Canvas mono = LoadBmpFile(dir.File("mono.bmp"));
    EXPECT_EQ(kWhite, PixelAt(mono, 0, 0));
    EXPECT_EQ(kBlack, PixelAt(mono, 1, 0));
    EXPECT_EQ(kWhite, PixelAt(mono, 8, 1));
    EXPECT_EQ(kBlack, PixelAt(mono, 7, 1));
}

TEST(BmpReader, DecodesHandMadeRle4RunsDeltasAndTopDownRows)
{
    // 4 x 3 RLE4, bottom row first: row 0 (bottom) = run of 4 alternating
    // 1,2; row 1 = delta past 2 pixels then absolute 3 pixels 3,1,2 (only 2
    // fit); row 2 (top) never written: keeps palette colour 0.
    const std::string rle = std::string("\x04\x12", 2) + std::string("\x00\x00", 2)
        + std::string("\x00\x02\x02\x00", 4) + std::string("\x00\x03\x31\x20", 4)
        + std::string("\x00\x01", 2);
    const Canvas c = ReadBmp(HandMade(4, 3, 4, 2, { kBlack, kRed, kLime, kBlue }, rle));
    EXPECT_EQ(kRed, PixelAt(c, 0, 2));
    EXPECT_EQ(kLime, PixelAt(c, 1, 2));
    EXPECT_EQ(kRed, PixelAt(c, 2, 2));
    EXPECT_EQ(kBlack, PixelAt(c, 1, 1));
    EXPECT_EQ(kBlue, PixelAt(c, 2, 1));
    EXPECT_EQ(kRed, PixelAt(c, 3, 1));
    EXPECT_EQ(kBlack, PixelAt(c, 3, 0));

    // 24-bit top-down (negative height): the first stored row is the top.
    const std::string rows = std::string("\x00\x00\xff\x00", 4) + std::string("\xff\x00\x00\x00", 4);
    std::string topDown = HandMade(1, 2, 24, 0, {}, rows);
    topDown.replace(22, 4, Le32(static_cast<std::uint32_t>(-2)));
    const Canvas t = ReadBmp(topDown);
    EXPECT_EQ(kRed, PixelAt(t, 0, 0));
    EXPECT_EQ(kBlue, PixelAt(t, 0, 1));
}

TEST(BmpReader, RejectsInvalidFilesWithTheBitmapMessage)
{
    const std::string good = HandMade(2, 2, 24, 0, {}, std::string(16, '\x10'));
    ASSERT_NO_THROW(ReadBmp(good));
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    std::string zeroWidth = good;
    zeroWidth.replace(18, 4, Le32(0));
    std::string hugeWidth = good;
    hugeWidth.replace(18, 4, Le32(0x7FFFFFFF));
    std::string badDepth = good;
    badDepth[28] = 7;
    std::string rleTopDown = HandMade(2, 2, 8, 1, { kRed }, std::string("\x00\x01", 2));
    rleTopDown.replace(22, 4, Le32(static_cast<std::uint32_t>(-2)));
    std::string badCompression = good;
    badCompression[30] = 9;
    // A 1 KB RLE8 file claiming 11585 x 11585: past the picture budget, it
    // is refused before any canvas of that size is made.
    const std::string rleClaim
        = HandMade(11585, 11585, 8, 1, std::vector<std::uint32_t>(256, kRed), std::string("\x00\x01", 2));
    const std::string cases[] = {
        "",
        "BM",
        wrongMagic,
        good.substr(0, good.size() - 9), // pixel rows cut short
        zeroWidth,
        hugeWidth,
        badDepth,
        rleTopDown,
        badCompression,
        HandMade(2, 2, 8, 0, {}, std::string(8, '\0')).substr(0, 54), // palette and pixels missing
        rleClaim,
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        try {
            ReadBmp(cases[i]);
            ADD_FAILURE() << "case " << i << " accepted";
        } catch (const RenderError& e) {
            EXPECT_EQ(texts::kInvalidBitmap, e.what()) << "case " << i;
        }
    }
}

TEST(BmpWriter, WritesBottomUpPaddedRowsThatReadBackEqual)
{
    TempDir dir;
    const Canvas picture = Pattern(5, 3); // 15 bytes a row, padded to 16
    const std::string path = dir.File("kabegami.bmp");
    WriteBmpFile(picture, path);
    const std::string file = ReadBytes(path);
    ASSERT_EQ(54u + 16u * 3u, file.size());
    EXPECT_EQ("BM", file.substr(0, 2));
    EXPECT_EQ(24, file[28]);
    // The first stored row is the bottom one: x = 0, y = 2 is blue 7, green 2, red 0.
    EXPECT_EQ(std::string("\x07\x02\x00", 3), file.substr(54, 3));
    EXPECT_EQ('\0', file[54 + 15]); // padding
    const Canvas back = ReadBmp(file);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(picture, x, y), PixelAt(back, x, y));
    // ImageMagick reads it as the same picture.
    EXPECT_EQ(0, Shell("convert " + path + " " + dir.File("check.ppm")));
}
