#pragma once

// Helpers shared by the render tests: a scratch folder, running Debian's
// image tools, and pixel access.

#include "app/DrawKabegami.h"
#include "common/TempFolder.h"
#include "render/Background.h"
#include "render/BmpReader.h"
#include "render/BmpWriter.h"
#include "render/Canvas.h"
#include "render/PictureFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace rendertest {

// A fresh folder under the system's temporary folder, removed afterwards;
// File gives a name in it as the text the image tools take.
class TempDir : public test_files::TempFolder {
public:
    TempDir()
        : test_files::TempFolder("render")
    {
    }
    std::string File(const std::string& name) const { return (Path() / name).string(); }
};

inline int Shell(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str());
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Pixel (x, y) as 0x00BBGGRR, the colour form the program uses.
inline std::uint32_t PixelAt(const render::Canvas& canvas, int x, int y)
{
    const std::uint8_t* p = canvas.Row(y) + 3 * x;
    return static_cast<std::uint32_t>(p[2]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[0]) << 16;
}

inline void SetPixel(render::Canvas& canvas, int x, int y, std::uint32_t color)
{
    std::uint8_t* p = canvas.Row(y) + 3 * x;
    p[0] = (color >> 16) & 0xFF;
    p[1] = (color >> 8) & 0xFF;
    p[2] = color & 0xFF;
}

// A canvas whose every pixel is distinct: red = x, green = y, blue = 7.
inline render::Canvas Pattern(int width, int height)
{
    render::Canvas canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(canvas, x, y, static_cast<std::uint32_t>((x & 0xFF) | (y & 0xFF) << 8 | 7 << 16));
    return canvas;
}

// The picture file at path composed as a draw does it: read (a GNOME list
// resolved at local time now), decoded for the placement, laid out.
inline render::Canvas ComposeFile(const std::string& path, platform::Placement placement, int width,
    int height, render::ColorRef colour, std::chrono::local_seconds now = {})
{
    render::Picture picture;
    if (const auto file = app::ReadPictureFile(path, now, width, height))
        picture = render::DecodePicture(*file, render::TargetFor(placement, width, height), colour);
    return render::ComposeBackground(std::move(picture), placement, width, height, colour);
}

// A canvas as the picture of a draw, shown as it is.
inline render::Picture PictureOf(render::Canvas canvas)
{
    render::Picture picture;
    picture.fullWidth = canvas.Width();
    picture.fullHeight = canvas.Height();
    picture.image = std::move(canvas);
    return picture;
}

// The canvas as a BMP file's bytes, and back.
inline std::string BmpBytes(const render::Canvas& canvas)
{
    const render::BmpFile bmp = render::BmpOf(canvas);
    std::string bytes = bmp.header;
    for (const std::string_view piece : bmp.pieces)
        bytes.append(piece);
    return bytes;
}
inline void WriteBmpFile(const render::Canvas& canvas, const std::string& path)
{
    WriteBytes(path, BmpBytes(canvas));
}
inline render::Canvas LoadBmpFile(const std::string& path)
{
    return render::ReadBmp(ReadBytes(path));
}

} // namespace rendertest
