// Fuzz entry point for line-end detection and conversion. Besides memory
// safety it checks that LF text without CR survives a trip to CR LF and
// back, and that every conversion of text without line ends is the identity.
#include "fuzz/FuzzRequire.h"
#include "jconvert/line_ends.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jconvert;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int detected = ReturnCodeCheck(text);
    require(detected >= RET_NONE && detected <= RET_LF);

    for (int out = -1; out <= 4; ++out) {
        const std::string converted = ConvertReturnCode(text, out);
        if (detected == RET_NONE)
            require(converted == text);
        for (int in = -1; in <= 4; ++in)
            StrictConvertReturnCode(text, in, out);
    }

    if (text.find('\r') == std::string::npos) {
        const std::string crlf = StrictConvertReturnCode(text, RET_LF, RET_CRLF);
        require(StrictConvertReturnCode(crlf, RET_CRLF, RET_LF) == text);
    }
    return 0;
}
