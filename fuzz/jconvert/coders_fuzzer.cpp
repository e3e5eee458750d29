// Fuzz entry point for the six-bit coders: every decoder on arbitrary text,
// and every encoder followed by its decoder, which must give the data back.
#include "jconvert/coders.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    (void)jconvert::DecodeBase64(input);
    (void)jconvert::DecodeUU(input);
    (void)jconvert::DecodeBinHex(input);

    static const std::string kBreaks[] = { "\r\n", "\n", "\r" };
    const std::string& lineBreak = kBreaks[size % 3];
    if (jconvert::DecodeBase64(jconvert::EncodeBase64(input)) != input
        || jconvert::DecodeBase64(jconvert::EncodeBase64R(input, lineBreak)) != input
        || jconvert::DecodeUU(jconvert::EncodeUU(input, lineBreak)) != input
        || jconvert::DecodeBinHex(jconvert::EncodeBinHex(input, lineBreak)) != input)
        std::abort();
    return 0;
}
