#include "render/Background.h"

#include "TestSupport.h"
#include "common/SjisLiteral.h"
#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"
#include "render/JpegDecoder.h"
#include "render/RenderError.h"

#include <gtest/gtest.h>

using namespace render;
using namespace rendertest;

namespace {

constexpr std::uint32_t kDesktop = 0x00336699;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// A picture with the older platform's tile and style values.
struct Settings {
    std::string path;
    const char* tile;
    const char* style;
};

Canvas Compose(const Settings& s, int width, int height, std::uint32_t colour)
{
    return ComposeFile(s.path, platform::ClassicPlacement(s.tile, s.style), width, height, colour);
}

} // namespace

TEST(Background, FollowsThePlacementTableRowByRow)
{
    TempDir dir;
    const std::string small = dir.File("small.bmp"); // 4 x 3 on an 10 x 8 screen
    WriteBmpFile(Pattern(4, 3), small);
    const std::string exact = dir.File("exact.bmp");
    WriteBmpFile(Pattern(10, 8), exact);
    const std::string large = dir.File("large.bmp");
    WriteBmpFile(Pattern(20, 16), large);

    struct Case {
        const char* name;
        Settings settings;
        // Expected colour at a few probe points.
        std::vector<std::tuple<int, int, std::uint32_t>> probes;
    };
    const auto pat = [](int x, int y) { return static_cast<std::uint32_t>(x | y << 8 | 7 << 16); };
    const Case cases[] = {
        { "no picture", Settings("", "0", "2"), { { 0, 0, kDesktop }, { 9, 7, kDesktop } } },
        { "missing file", Settings(dir.File("gone.bmp"), "1", "0"), { { 5, 5, kDesktop } } },
        { "exact size, any style: copied at scale 1", Settings(exact, "1", "7"),
            { { 0, 0, pat(0, 0) }, { 9, 7, pat(9, 7) }, { 3, 5, pat(3, 5) } } },
        { "larger in both directions with tile: shrunk", Settings(large, "1", "0"),
            { { 0, 0, pat(0, 0) }, { 9, 7, pat(18, 14) }, { 5, 4, pat(10, 8) } } },
        { "stretch", Settings(small, "0", "2"),
            { { 0, 0, pat(0, 0) }, { 9, 7, pat(3, 2) }, { 5, 3, pat(2, 1) } } },
        { "tile", Settings(small, "1", "0"),
            { { 0, 0, pat(0, 0) }, { 4, 3, pat(0, 0) }, { 9, 7, pat(1, 1) } } },
        { "centre: (10-4)/2, (8-3)/2", Settings(small, "0", "0"),
            { { 3, 2, pat(0, 0) }, { 2, 2, kDesktop }, { 6, 4, pat(3, 2) }, { 7, 5, kDesktop } } },
        { "tile 1 with style 2: white", Settings(small, "1", "2"), { { 0, 0, kWhite }, { 9, 7, kWhite } } },
        { "unknown style: white", Settings(small, "0", "3"), { { 5, 5, kWhite } } },
        { "empty style values: white", Settings(small, "", ""), { { 5, 5, kWhite } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Canvas canvas = Compose(c.settings, 10, 8, kDesktop);
        ASSERT_EQ(10, canvas.Width());
        ASSERT_EQ(8, canvas.Height());
        for (const auto& [x, y, want] : c.probes)
            EXPECT_EQ(want, PixelAt(canvas, x, y)) << "at " << x << "," << y;
    }
}

TEST(Background, WiderOnlyPictureIsCentredAndCutEvenly)
{
    TempDir dir;
    const std::string wide = dir.File("wide.bmp");
    WriteBmpFile(Pattern(15, 4), wide); // screen 10 x 8: W - w = -5, left = -2
    const Canvas canvas = Compose(Settings(wide, "0", "0"), 10, 8, kDesktop);
    EXPECT_EQ(kDesktop, PixelAt(canvas, 0, 1)); // top = (8-4)/2 = 2
    EXPECT_EQ(static_cast<std::uint32_t>(2 | 0 << 8 | 7 << 16), PixelAt(canvas, 0, 2));
    EXPECT_EQ(static_cast<std::uint32_t>(11 | 3 << 8 | 7 << 16), PixelAt(canvas, 9, 5));
    EXPECT_EQ(kDesktop, PixelAt(canvas, 9, 6));
}

TEST(Background, JpgOrBmpInThePathKeepsItsDecoderOtherNamesAreReadByContent)
{
    TempDir dir;
    const std::string bmpBytes = [&] {
        WriteBmpFile(Pattern(4, 3), dir.File("p.bmp"));
        return ReadBytes(dir.File("p.bmp"));
    }();
    WriteBytes(dir.File("upper.JPG"), bmpBytes);
    WriteBytes(dir.File("long.jpeg"), bmpBytes);
    WriteBytes(dir.File("picture.png"), bmpBytes);
    // Each is the bitmap it holds, whatever its name says: centred at
    // (3, 2), stretched over the screen, tiled.
    const auto pat = [](int x, int y) { return static_cast<std::uint32_t>(x | y << 8 | 7 << 16); };
    for (const char* name : { "upper.JPG", "long.jpeg", "picture.png" }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(pat(2, 2), PixelAt(Compose(Settings(dir.File(name), "0", "0"), 10, 8, kDesktop), 5, 4));
        EXPECT_EQ(pat(2, 1), PixelAt(Compose(Settings(dir.File(name), "0", "2"), 10, 8, kDesktop), 5, 4));
        EXPECT_EQ(pat(1, 1), PixelAt(Compose(Settings(dir.File(name), "1", "0"), 10, 8, kDesktop), 5, 4));
    }
    // ".jpg" anywhere in the path wins over ".bmp" and over the content: a
    // bitmap in a folder named like a JPEG goes to the JPEG decoder, which
    // refuses it with its own message.
    std::filesystem::create_directory(dir.File("pics.jpg.old"));
    WriteBytes(dir.File("pics.jpg.old/sea.bmp"), bmpBytes);
    try {
        Compose(Settings(dir.File("pics.jpg.old/sea.bmp"), "0", "0"), 10, 8, kDesktop);
        FAIL() << "decoded as a bitmap";
    } catch (const RenderError& e) {
        EXPECT_EQ(0, std::string(e.what()).rfind(Sjis("JPEG エラー #"), 0)) << e.what();
    }
}

TEST(Background, UnreadablePictureEndsTheDrawWithTheOpenMessage)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.bmp"));
    try {
        Compose(Settings(dir.File("folder.bmp"), "0", "0"), 10, 8, kDesktop);
        FAIL();
    } catch (const platform::FileIoError& e) {
        EXPECT_EQ(
            platform::CannotOpenMessage(dir.File("folder.bmp"), platform::SystemErrorText(EISDIR)), e.what());
        EXPECT_EQ(EISDIR, e.SystemError());
    }
}

TEST(Jpeg, DecodesCjpegOutputAndReducesOnlyWhileStillCovering)
{
    TempDir dir;
    ASSERT_EQ(0,
        Shell("convert -size 64x48 xc:'#ff0000' -fill '#0000ff' -draw 'rectangle 32,0 63,47' "
            + dir.File("a.ppm")));
    ASSERT_EQ(0, Shell("cjpeg -quality 95 -outfile " + dir.File("a.jpg") + " " + dir.File("a.ppm")));
    const std::string data = ReadBytes(dir.File("a.jpg"));

    const DecodedJpeg full = DecodeJpeg(data);
    EXPECT_EQ(64, full.fullWidth);
    EXPECT_EQ(48, full.image.Height());
    const std::uint32_t left = PixelAt(full.image, 8, 24), right = PixelAt(full.image, 56, 24);
    EXPECT_GT(left & 0xFF, 0xF0u); // red
    EXPECT_LT((left >> 16) & 0xFF, 0x10u);
    EXPECT_GT((right >> 16) & 0xFF, 0xF0u); // blue
    EXPECT_LT(right & 0xFF, 0x10u);

    const struct {
        int coverWidth, coverHeight, width, height;
    } scales[] = { { 16, 12, 16, 12 }, { 17, 12, 32, 24 }, { 8, 6, 8, 6 }, { 1, 1, 8, 6 }, { 64, 48, 64, 48 },
        { 65, 10, 64, 48 } };
    for (const auto& s : scales) {
        const DecodedJpeg d = DecodeJpeg(data, s.coverWidth, s.coverHeight);
        EXPECT_EQ(64, d.fullWidth);
        EXPECT_EQ(s.width, d.image.Width()) << s.coverWidth << "x" << s.coverHeight;
        EXPECT_EQ(s.height, d.image.Height());
    }

    const std::string jpegError = Sjis("JPEG エラー #");
    for (const std::string& bad : { std::string(), std::string("not a jpeg at all"), data.substr(0, 20) }) {
        try {
            DecodeJpeg(bad);
            ADD_FAILURE() << "accepted " << bad.size() << " bytes";
        } catch (const RenderError& e) {
            EXPECT_EQ(0, std::string(e.what()).rfind(jpegError, 0)) << e.what();
        }
    }
}

TEST(Jpeg, PicturesPastTheBudgetAreRefusedWhateverTheDecodeScale)
{
    // Small real pictures whose frame header is then made to claim a huge
    // size: progressive (libjpeg would keep every coefficient of the full
    // image) and baseline, decoded in full and reduced for a screen.
    TempDir dir;
    ASSERT_EQ(0, Shell("convert -size 16x16 gradient:red-blue " + dir.File("g.ppm")));
    const std::string jpegError = Sjis("JPEG エラー #");
    const struct {
        const char* options;
        const char* marker; // start of frame: FFC2 progressive, FFC0 baseline
        int width, height;
    } cases[] = {
        { "-progressive -grayscale", "\xff\xc2", 65500, 65500 },
        // Within the pixel budget, but full-resolution colour keeps six
        // bytes of coefficients a pixel: past what the decoder may use.
        { "-progressive -sample 1x1", "\xff\xc2", 7000, 7000 },
        { "-grayscale", "\xff\xc0", 65500, 65500 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.options) + " " + std::to_string(c.width));
        ASSERT_EQ(0,
            Shell(std::string("cjpeg ") + c.options + " -outfile " + dir.File("g.jpg") + " "
                + dir.File("g.ppm")));
        std::string data = ReadBytes(dir.File("g.jpg"));
        const std::size_t sof = data.find(c.marker);
        ASSERT_NE(std::string::npos, sof);
        ASSERT_NO_THROW(DecodeJpeg(data, 8, 8)); // the picture as made is fine
        data[sof + 5] = static_cast<char>(c.height >> 8);
        data[sof + 6] = static_cast<char>(c.height & 0xFF);
        data[sof + 7] = static_cast<char>(c.width >> 8);
        data[sof + 8] = static_cast<char>(c.width & 0xFF);
        for (const int cover : { 0, 1920 }) {
            try {
                DecodeJpeg(data, cover, cover * 9 / 16);
                ADD_FAILURE() << "accepted at cover " << cover;
            } catch (const RenderError& e) {
                EXPECT_EQ(0, std::string(e.what()).rfind(jpegError, 0)) << e.what();
            }
        }
    }
}
