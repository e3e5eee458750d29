// Fuzz entry point for the MIME header functions on arbitrary bytes. Text
// without an encoded-word opening must come back unchanged.
#include "jconvert/mime_header.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string decoded = jconvert::DecodeHeaderString(input);
    if (input.find("=?") == std::string::npos && decoded != input)
        std::abort();
    (void)jconvert::DecodeHeaderString(jconvert::CreateHeaderString(input));
    return 0;
}
