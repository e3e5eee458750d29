#include "render/BmpWriter.h"

namespace render {
namespace {

void Put16(std::string& out, std::size_t at, std::uint32_t v)
{
    out[at] = static_cast<char>(v & 0xFF);
    out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, std::size_t at, std::uint32_t v)
{
    Put16(out, at, v & 0xFFFF);
    Put16(out, at + 2, v >> 16);
}

constexpr char kZeros[4] = {};

} // namespace

BmpFile BmpOf(const Canvas& canvas)
{
    const std::size_t stride = canvas.Stride();
    const std::size_t imageSize = stride * static_cast<std::size_t>(canvas.Height());
    BmpFile file;
    file.header.assign(54, '\0');
    file.header[0] = 'B';
    file.header[1] = 'M';
    Put32(file.header, 2, static_cast<std::uint32_t>(54 + imageSize));
    Put32(file.header, 10, 54);
    Put32(file.header, 14, 40);
    Put32(file.header, 18, static_cast<std::uint32_t>(canvas.Width()));
    Put32(file.header, 22, static_cast<std::uint32_t>(canvas.Height()));
    Put16(file.header, 26, 1);
    Put16(file.header, 28, 24);
    Put32(file.header, 34, static_cast<std::uint32_t>(imageSize));
    Put32(file.header, 38, 3780); // 96 dpi in pixels per metre
    Put32(file.header, 42, 3780);
    file.pieces.reserve(2 * static_cast<std::size_t>(canvas.Height()));
    // The padding comes from zeros, not from the canvas, so that equal
    // pictures give equal files.
    const std::size_t pixelBytes = static_cast<std::size_t>(canvas.Width()) * 3;
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        file.pieces.emplace_back(reinterpret_cast<const char*>(canvas.Row(y)), pixelBytes);
        if (stride > pixelBytes)
            file.pieces.emplace_back(kZeros, stride - pixelBytes);
    }
    return file;
}

} // namespace render
