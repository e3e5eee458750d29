// Cross-checks the code page 932 <-> UTF-8 conversion against glibc iconv's
// "CP932" over every byte, every double-byte code and every Unicode scalar
// value of the Basic Multilingual Plane.

#include "jconvert/cp932.h"
#include "tests/jconvert/hex_bytes.h"
#include "tests/jconvert/iconv_converter.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace jconvert;
using jconvert_test::Iconv;
using jconvert_test::ToHex;

namespace {

std::string Utf8(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

const std::string kReplacement = "\xEF\xBF\xBD";
const std::string kGeta = "\x81\xAC";

TEST(Cp932IconvCrossCheck, EveryCodeDecodesAsIconvDecodesIt)
{
    Iconv decode("UTF-8", "CP932");
    ASSERT_TRUE(decode.ok());
    int characters = 0;
    auto check = [&](const std::string& code) {
        const auto theirs = decode(code);
        const std::string ours = Cp932ToUtf8(code);
        if (theirs) {
            ++characters;
            EXPECT_EQ(ToHex(ours), ToHex(*theirs)) << "CP932 " << ToHex(code);
        } else {
            // No character: one replacement character for a pair whose
            // second byte is a trail byte from 80 up, else one for the first
            // byte and the second byte read on its own.
            const unsigned char t = code.size() == 2 ? static_cast<unsigned char>(code[1]) : 0;
            const std::string expected = code.size() == 2 && (t < 0x80 || t > 0xFC)
                ? kReplacement + Cp932ToUtf8(code.substr(1))
                : kReplacement;
            EXPECT_EQ(ToHex(ours), ToHex(expected)) << "CP932 " << ToHex(code);
        }
    };
    for (int b = 0; b < 0x100; ++b) {
        const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        if (lead) {
            for (int t = 0; t < 0x100; ++t)
                check({ static_cast<char>(b), static_cast<char>(t) });
        } else {
            check(std::string(1, static_cast<char>(b)));
        }
    }
    // 128 ASCII, 63 half-width katakana, 7724 double-byte characters and the
    // 1880 user-defined codes.
    EXPECT_EQ(characters, 128 + 63 + 7724 + 1880);
}

TEST(Cp932IconvCrossCheck, EveryBmpCharacterEncodesAsIconvEncodesIt)
{
    Iconv encode("CP932", "UTF-8");
    ASSERT_TRUE(encode.ok());
    int mapped = 0;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const std::string utf8 = Utf8(c);
        const auto theirs = encode(utf8);
        const std::string ours = Utf8ToCp932(utf8);
        if (theirs) {
            ++mapped;
            EXPECT_EQ(ToHex(ours), ToHex(*theirs)) << "U+" << std::hex << static_cast<unsigned>(c);
        } else {
            EXPECT_EQ(ToHex(ours), ToHex(kGeta)) << "U+" << std::hex << static_cast<unsigned>(c);
        }
    }
    // Every decoded character once, plus nine one-way JIS-standard forms.
    EXPECT_EQ(mapped, 128 + 63 + 7724 - 398 + 1880 + 9);
}

TEST(Cp932IconvCrossCheck, EveryCharacterRoundTripsThroughTheWindowsCode)
{
    // Decoding then encoding gives each character's preferred code; that
    // code decodes to the same character and encodes to itself.
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int t = 0x40; t <= 0xFC; ++t) {
            const std::string code { static_cast<char>(lead), static_cast<char>(t) };
            const std::string utf8 = Cp932ToUtf8(code);
            if (utf8.compare(0, kReplacement.size(), kReplacement) == 0)
                continue;
            const std::string preferred = Utf8ToCp932(utf8);
            EXPECT_EQ(Cp932ToUtf8(preferred), utf8) << ToHex(code);
            EXPECT_EQ(Utf8ToCp932(Cp932ToUtf8(preferred)), preferred) << ToHex(code);
            EXPECT_EQ(Utf8ToCp932KeepingBytes(Cp932ToUtf8KeepingBytes(code)), preferred) << ToHex(code);
        }
    }
}

} // namespace
