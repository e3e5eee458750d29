// Fuzz entry point: any bytes as a Windows bitmap. The reader must either
// give a picture or raise the invalid-bitmap error, never read outside the
// input or allocate without bound.
#include "render/BmpReader.h"
#include "render/RenderError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const render::Canvas picture
            = render::ReadBmp(std::string_view(reinterpret_cast<const char*>(data), size));
        // Touch the last row so a wrong size shows up under the sanitizers.
        if (!picture.Empty())
            (void)picture.Row(picture.Height() - 1)[3 * picture.Width() - 1];
    } catch (const render::RenderError&) {
    }
    return 0;
}
