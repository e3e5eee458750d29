// Pictures as the desktop names them: every kind by its content, GNOME's
// background lists, broken and oversized files.
#include "TestSupport.h"
#include "common/SjisLiteral.h"
#include "render/Background.h"
#include "render/JpegDecoder.h"
#include "render/RenderError.h"

#include <functional>
#include <gtest/gtest.h>

using namespace render;
using namespace rendertest;
using std::chrono::local_days;

namespace {

constexpr std::uint32_t kDesktop = 0x00336699;

// Two halves, red left and blue right, as 0x00BBGGRR.
constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

bool Near(std::uint32_t want, std::uint32_t got, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((want >> shift) & 0xFF) - static_cast<int>((got >> shift) & 0xFF))
            > tolerance)
            return false;
    return true;
}

// A picture made by the tools users' pictures come from; the command ends
// with its output file, or names it where "{}" stands.
std::string Make(const TempDir& dir, const std::string& name, std::string command)
{
    const std::string path = dir.File(name);
    if (const std::size_t at = command.find("{}"); at != std::string::npos)
        command.replace(at, 2, path);
    else
        command += " " + path;
    EXPECT_EQ(0, Shell(command)) << command;
    return path;
}

std::string Message(const std::function<void()>& draw)
{
    try {
        draw();
    } catch (const RenderError& e) {
        return e.what();
    }
    return "no error";
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : bytes) {
        crc ^= static_cast<std::uint8_t>(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

void PutBig32(std::string& data, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        data[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
}

} // namespace

TEST(Pictures, EveryKindIsReadByItsContentWhateverItsName)
{
    TempDir dir;
    const std::string halves = "convert -size 16x8 xc:red -fill blue -draw 'rectangle 8,0 15,7'";
    const std::string ppm = Make(dir, "halves.ppm", halves);
    WriteBytes(dir.File("vector.svg"),
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"4\"><rect width=\"4\" height=\"4\" "
        "fill=\"red\"/><rect x=\"4\" width=\"4\" height=\"4\" fill=\"blue\"/></svg>");
    const struct {
        std::string path;
        int tolerance;
    } cases[] = {
        { Make(dir, "wall.png", halves), 0 },
        { Make(dir, "IMG_0412.JPG", "cjpeg -quality 95 -outfile {} " + ppm), 40 },
        { Make(dir, "sunset.jpeg", "cjpeg -quality 95 -outfile {} " + ppm), 40 },
        { Make(dir, "photo.webp", "cwebp -quiet -lossless " + ppm + " -o"), 0 },
        { Make(dir, "anim.gif", "convert -delay 10 " + ppm + " -size 16x8 xc:lime"), 0 },
        // An animation: its first frame, through Qt's reader.
        { Make(dir, "anim.webp", "gif2webp -quiet " + dir.File("anim.gif") + " -o"), 0 },
        { Make(dir, "scan.tiff", halves), 0 },
        { Make(dir, "no-extension", halves + " png:{}"), 0 },
        // A drawing, drawn at twice its own size.
        { dir.File("vector.svg"), 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const Canvas canvas = ComposeFile(c.path, platform::Placement::Stretched, 16, 8, kDesktop, {});
        EXPECT_TRUE(Near(kRed, PixelAt(canvas, 2, 4), c.tolerance)) << std::hex << PixelAt(canvas, 2, 4);
        EXPECT_TRUE(Near(kBlue, PixelAt(canvas, 13, 4), c.tolerance)) << std::hex << PixelAt(canvas, 13, 4);
    }
}

TEST(Pictures, TransparencyIsLaidOnTheDesktopColour)
{
    TempDir dir;
    const std::string png = Make(dir, "clear.png", "convert -size 4x4 xc:'rgba(255,255,255,0.5)'");
    const std::string webp = Make(dir, "clear.webp", "cwebp -quiet -lossless " + png + " -o");
    for (const std::string& path : { png, webp }) {
        SCOPED_TRACE(path);
        const Canvas canvas = ComposeFile(path, platform::Placement::Zoom, 4, 4, 0x00000000, {});
        EXPECT_TRUE(Near(0x808080, PixelAt(canvas, 1, 1), 1)) << std::hex << PixelAt(canvas, 1, 1);
    }
}

TEST(Pictures, PhotosAreTurnedByTheirExifOrientation)
{
    // Stored 32 x 16 in quadrants: red, blue above lime, white.
    TempDir dir;
    const std::string ppm = Make(dir, "q.ppm",
        "convert -size 32x16 xc:red -fill blue -draw 'rectangle 16,0 31,7' -fill lime -draw "
        "'rectangle 0,8 15,15' -fill white -draw 'rectangle 16,8 31,15'");
    ASSERT_EQ(0, Shell("cjpeg -quality 95 -sample 1x1 -outfile " + dir.File("q.jpg") + " " + ppm));
    const std::string plain = ReadBytes(dir.File("q.jpg"));
    constexpr std::uint32_t kLime = 0x00FF00, kWhite = 0xFFFFFF;
    const struct {
        int orientation;
        std::uint32_t topLeft, topRight, bottomLeft, bottomRight;
    } cases[] = {
        { 1, kRed, kBlue, kLime, kWhite }, { 2, kBlue, kRed, kWhite, kLime }, // mirrored
        { 3, kWhite, kLime, kBlue, kRed }, // half a turn
        { 6, kLime, kRed, kWhite, kBlue }, // a quarter clockwise: 16 x 32
        { 8, kBlue, kWhite, kRed, kLime }, // a quarter anticlockwise
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation);
        // An Exif block with the one tag, big-endian, right after the start.
        const unsigned char block[]
            = { 0xFF, 0xE1, 0x00, 0x22, 'E', 'x', 'i', 'f', 0, 0, 'M', 'M', 0, 0x2A, 0, 0, 0, 8, 0, 1, 0x01,
                  0x12, 0, 3, 0, 0, 0, 1, 0, static_cast<unsigned char>(c.orientation), 0, 0, 0, 0, 0, 0 };
        const std::string exif(reinterpret_cast<const char*>(block), sizeof block);
        WriteBytes(dir.File("IMG_0412.JPG"), plain.substr(0, 2) + exif + plain.substr(2));
        const Canvas canvas
            = ComposeFile(dir.File("IMG_0412.JPG"), platform::Placement::Centered, 40, 40, kDesktop, {});
        const bool upright = c.orientation >= 5;
        const int left = upright ? 12 : 4, top = upright ? 4 : 12, qw = upright ? 8 : 16,
                  qh = upright ? 16 : 8;
        const std::uint32_t want[4] = { c.topLeft, c.topRight, c.bottomLeft, c.bottomRight };
        for (int q = 0; q < 4; ++q) {
            const int x = left + (q % 2) * qw + qw / 2, y = top + (q / 2) * qh + qh / 2;
            EXPECT_TRUE(Near(want[q], PixelAt(canvas, x, y), 40))
                << q << " " << std::hex << PixelAt(canvas, x, y);
        }
        EXPECT_EQ(kDesktop, PixelAt(canvas, upright ? 8 : 1, upright ? 1 : 8)); // beside the picture
    }
}

TEST(Pictures, UnreadableFilesAreErrorsNamingTheFile)
{
    TempDir dir;
    const std::string png = Make(dir, "wall.png", "convert -size 64x64 gradient:red-blue");
    std::string bytes = ReadBytes(png);
    WriteBytes(dir.File("cut.png"), bytes.substr(0, bytes.size() / 2));
    WriteBytes(dir.File("notes.txt"), "not a picture at all\n");
    // A PNG whose header claims 65500 x 65500 (its checksum made right):
    // refused before anything of that size is decoded.
    PutBig32(bytes, 16, 65500);
    PutBig32(bytes, 20, 65500);
    PutBig32(bytes, 29, Crc32(bytes.substr(12, 17)));
    WriteBytes(dir.File("huge.png"), bytes);

    const struct {
        std::string name;
        std::string reason;
    } cases[] = {
        { "cut.png", Sjis("絵のデータが壊れています。") },
        { "notes.txt", Sjis("JPEG、PNG、BMP、GIF、TIFF、WebP、SVG のどの形式でもありません。") },
        { "huge.png", Sjis("絵が大きすぎます。") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        const std::string want = Sjis("ファイル \"") + path + Sjis("\" は絵として読めません。") + c.reason;
        EXPECT_EQ(want, Message([&] { ComposeFile(path, platform::Placement::Zoom, 32, 32, kDesktop, {}); }));
    }
}

TEST(Pictures, GnomeListShowsThePictureOfTheMoment)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("pics"));
    Make(dir, "pics/red.png", "convert -size 8x8 xc:red");
    Make(dir, "pics/blue.png", "convert -size 8x8 xc:blue");
    Make(dir, "pics/wide-lime.png", "convert -size 16x9 xc:lime");
    Make(dir, "pics/square-white.png", "convert -size 8x8 xc:white");
    // From 2026-12-09 00:00 every three hours: red for an hour, an hour's
    // fade to blue, then an hour of blue offered in two sizes.
    WriteBytes(dir.File("pics/day.xml"),
        "<?xml version=\"1.0\"?>\n<background>\n"
        "  <starttime><year>2026</year><month>12</month><day>9</day>"
        "<hour>0</hour><minute>0</minute><second>0</second></starttime>\n"
        "  <static><duration>3600.0</duration><file>red.png</file></static>\n"
        "  <transition type=\"overlay\"><duration>3600.0</duration>"
        "<from>red.png</from><to>"
            + dir.File("pics/blue.png")
            + "</to></transition>\n"
              "  <static><duration>3600.0</duration><file>"
              "<size width=\"1600\" height=\"900\">wide-lime.png</size>"
              "<size width=\"1024\" height=\"1024\">square-white.png</size></file></static>\n"
              "</background>\n");
    using namespace std::chrono;
    const local_seconds day = local_days { year { 2026 } / December / 9 };
    const struct {
        local_seconds now;
        std::uint32_t want;
    } cases[] = {
        { day + minutes { 30 }, 0x0000FF }, // red
        { day + minutes { 80 }, 0x0000FF }, // first half of the fade
        { day + minutes { 100 }, 0xFF0000 }, // second half: blue
        { day + minutes { 150 }, 0x00FF00 }, // the 16:9 size for a 16:9 screen
        { day + hours { 3 } + minutes { 30 }, 0x0000FF }, // the list repeats
        { day - hours { 1 }, 0x00FF00 }, // before the start: counted back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.now - day).count());
        const Canvas canvas
            = ComposeFile(dir.File("pics/day.xml"), platform::Placement::Zoom, 16, 9, kDesktop, c.now);
        EXPECT_EQ(c.want, PixelAt(canvas, 8, 4));
    }
    // A list whose pictures are gone or that names none.
    WriteBytes(dir.File("empty.xml"), "<background><static><duration>5</duration></static></background>");
    EXPECT_NE(std::string::npos, Message([&] {
        ComposeFile(dir.File("empty.xml"), platform::Placement::Zoom, 8, 8, 0, day);
    }).find(Sjis("背景の一覧 (XML) に今表示する絵がありません。")));
}

TEST(Jpeg, ScanBombsAreRefusedAndHugeDecodesReduced)
{
    TempDir dir;
    ASSERT_EQ(0, Shell("convert -size 64x64 gradient:red-blue " + dir.File("g.ppm")));
    ASSERT_EQ(0, Shell("cjpeg -progressive -outfile " + dir.File("p.jpg") + " " + dir.File("g.ppm")));
    const std::string data = ReadBytes(dir.File("p.jpg"));
    // The last scan repeated: libjpeg only warns about the bogus
    // progression, so each copy is another pass over the whole picture.
    const std::size_t last = data.rfind("\xff\xda");
    const std::string scan = data.substr(last, data.size() - 2 - last);
    const auto repeated = [&](int copies) {
        std::string bomb = data.substr(0, data.size() - 2);
        for (int i = 0; i < copies; ++i)
            bomb += scan;
        return bomb + "\xff\xd9";
    };
    EXPECT_NO_THROW(DecodeJpeg(repeated(kMaxJpegScans - 20)));
    try {
        DecodeJpeg(repeated(kMaxJpegScans + 1));
        ADD_FAILURE() << "a scan bomb was decoded";
    } catch (const RenderError& e) {
        EXPECT_EQ(Sjis("JPEG エラー #") + std::to_string(kJpegTooManyScansError), e.what());
    }

    // 65500 x 759 stretched on 1920 x 1080 covers no reduced size, but a
    // full decode would hold 50 million pixels: reduced to at most the
    // largest screen.
    ASSERT_EQ(0, Shell("cjpeg -grayscale -outfile " + dir.File("b.jpg") + " " + dir.File("g.ppm")));
    std::string wide = ReadBytes(dir.File("b.jpg"));
    const std::size_t sof = wide.find("\xff\xc0");
    wide[sof + 5] = static_cast<char>(759 >> 8);
    wide[sof + 6] = static_cast<char>(759 & 0xFF);
    wide[sof + 7] = static_cast<char>(65500 >> 8);
    wide[sof + 8] = static_cast<char>(65500 & 0xFF);
    const DecodedJpeg reduced = DecodeJpeg(wide, 1920, 1080);
    EXPECT_EQ(65500, reduced.fullWidth);
    EXPECT_LE(static_cast<std::uint64_t>(reduced.image.Width()) * reduced.image.Height(), 7680u * 4320u);
}
