#include "render/BmpWriter.h"

#include "platform/FileIo.h"
#include "render/RenderError.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace render {
namespace {

void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = v & 0xFF;
    p[1] = (v >> 8) & 0xFF;
}

void Put32(std::uint8_t* p, std::uint32_t v)
{
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

} // namespace

void WriteBmpFile(const Canvas& canvas, const std::string& path)
{
    const std::size_t stride = canvas.Stride();
    const std::size_t imageSize = stride * static_cast<std::size_t>(canvas.Height());
    std::uint8_t header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header + 2, static_cast<std::uint32_t>(54 + imageSize));
    Put32(header + 10, 54);
    Put32(header + 14, 40);
    Put32(header + 18, static_cast<std::uint32_t>(canvas.Width()));
    Put32(header + 22, static_cast<std::uint32_t>(canvas.Height()));
    Put16(header + 26, 1);
    Put16(header + 28, 24);
    Put32(header + 34, static_cast<std::uint32_t>(imageSize));
    Put32(header + 38, 3780); // 96 dpi in pixels per metre
    Put32(header + 42, 3780);

    platform::FileReplacement file(path, platform::kPictureReadLimit);
    file.Write(std::string_view(reinterpret_cast<const char*>(header), sizeof header));
    // Rows go out bottom-up through a buffer of several rows at a time,
    // with the padding bytes zeroed so equal pictures give equal files.
    const std::size_t pixelBytes = static_cast<std::size_t>(canvas.Width()) * 3;
    const std::size_t rowsPerChunk = stride ? std::max<std::size_t>(1, (1u << 20) / stride) : 1;
    std::vector<char> chunk(rowsPerChunk * stride, 0);
    for (int y = canvas.Height() - 1; y >= 0;) {
        std::size_t used = 0;
        for (std::size_t i = 0; i < rowsPerChunk && y >= 0; ++i, --y) {
            std::memcpy(chunk.data() + used, canvas.Row(y), pixelBytes);
            used += stride;
        }
        file.Write(std::string_view(chunk.data(), used));
    }
    file.Commit();
}

} // namespace render
