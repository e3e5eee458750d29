// Fuzz entry point for the header decoding of the reception run and the
// quoted-printable decoder, on arbitrary bytes. Printable ASCII without an
// encoded-word opening comes back unchanged; quoted-printable never grows.
#include "fuzz/FuzzRequire.h"
#include "jconvert/encoded_words.h"
#include "jconvert/quoted_printable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string decoded = jconvert::DecodeEncodedWords(input);
    const bool printable
        = std::all_of(input.begin(), input.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
    if (printable && input.find("=?") == std::string::npos)
        fuzz::require(decoded == input);
    fuzz::require(jconvert::DecodeQuotedPrintable(input).size() <= input.size());
    fuzz::require(jconvert::DecodeQuotedPrintable(input, true).size() <= input.size());
    return 0;
}
