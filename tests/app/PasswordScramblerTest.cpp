#include "app/PasswordScrambler.h"

#include "common/SjisLiteral.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

using app::PasswordChecksum;
using app::ScramblePassword;
using app::UnscramblePassword;

// Builds a stored value from an arbitrary plain block, to feed the reader
// values no scrambler of ours would write.
std::string storedFromBlock(std::string block)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string body;
    for (char& c : block)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ 0x1D);
    for (std::size_t i = 0; i + 2 < block.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(block[i]) << 16)
            | (static_cast<unsigned char>(block[i + 1]) << 8) | static_cast<unsigned char>(block[i + 2]);
        for (int shift = 18; shift >= 0; shift -= 6)
            body += alphabet[(v >> shift) & 63];
    }
    return PasswordChecksum(body) + body;
}

TEST(PasswordScrambler, KnownValues)
{
    EXPECT_EQ(PasswordChecksum("abc"), "kl"); // S = 296
    EXPECT_EQ(PasswordChecksum("z"), "aa"); // the first character has weight 0
    // "a": block 'b' 'a' ' ', masked 7F 7C 3D, Base64 "f3w9", checksum 460.
    EXPECT_EQ(ScramblePassword("a"), "srf3w9");
    EXPECT_EQ(UnscramblePassword("srf3w9"), "a");
    EXPECT_EQ(ScramblePassword(""), "");
    EXPECT_EQ(UnscramblePassword(""), "");
}

TEST(PasswordScrambler, EveryLengthRoundTrips)
{
    const std::string base64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> ascii(1, 127);
    for (std::size_t length = 1; length <= app::kMaxPasswordLength; ++length) {
        for (const std::size_t trailingSpaces : { 0, 1, 2 }) {
            std::string password;
            for (std::size_t i = 0; i < length; ++i)
                password += static_cast<char>(ascii(random));
            for (std::size_t i = 0; i < trailingSpaces && i < length; ++i)
                password[length - 1 - i] = ' ';
            if (length % 7 == 0)
                password[length / 2] = '\x1D'; // the mask byte itself

            int messages = 0;
            const auto count = [&messages](const std::string& text) {
                EXPECT_EQ(text, "char29");
                ++messages;
            };
            const std::string stored = ScramblePassword(password, count);
            SCOPED_TRACE(length);
            // Two letters, then 4 characters per 3 block bytes (marker included).
            ASSERT_EQ(stored.size(), 2 + (length + 3) / 3 * 4);
            EXPECT_TRUE(std::islower(static_cast<unsigned char>(stored[0]))
                && std::islower(static_cast<unsigned char>(stored[1])));
            EXPECT_EQ(stored.find_first_not_of(base64, 2), std::string::npos);
            const int maskBytes = static_cast<int>(std::count(password.begin(), password.end(), '\x1D'));
            ASSERT_EQ(messages, maskBytes);
            ASSERT_EQ(UnscramblePassword(stored, count), password);
            EXPECT_EQ(messages, maskBytes) << "reading a value we wrote reports nothing";
        }
    }
}

TEST(PasswordScrambler, PasswordsThatCannotBeStored)
{
    const std::string cases[] = {
        std::string(app::kMaxPasswordLength + 1, 'x'),
        "pass\xb1", // half-width katakana at the end
        Sjis("メモ"), // a double-byte character
        std::string("a\0b", 3),
        "\x80",
    };
    for (const auto& password : cases)
        EXPECT_EQ(ScramblePassword(password), "") << password;
}

TEST(PasswordScrambler, AnyChangedCharacterFailsTheCheck)
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (const std::string password : { "secret", "p@ss w0rd", "x" }) {
        const std::string stored = ScramblePassword(password);
        for (std::size_t i = 0; i < stored.size(); ++i) {
            for (const char replacement : alphabet) {
                if (replacement == stored[i])
                    continue;
                std::string tampered = stored;
                tampered[i] = replacement;
                if (tampered.substr(0, 2) == PasswordChecksum(tampered.substr(2)))
                    continue; // the letters happen to match again
                EXPECT_EQ(UnscramblePassword(tampered), "") << tampered;
            }
        }
    }
}

TEST(PasswordScrambler, ValuesOutsideTheLimitsRestoreEmpty)
{
    const auto withChecksum = [](const std::string& body) { return PasswordChecksum(body) + body; };
    const std::string cases[] = {
        withChecksum(std::string(400, 'Q')), // longer than 398
        withChecksum("f3w"), // not whole groups of four
        withChecksum("f3w9f"), "s",
        "srf3w9=", // extra character
    };
    for (const auto& stored : cases)
        EXPECT_EQ(UnscramblePassword(stored), "") << stored;
}

TEST(PasswordScrambler, BlocksWithoutAFittingMarkerAreReadTheOldWay)
{
    // Values whose marker does not fit the block: the text ends at the first
    // zero byte and up to two fill spaces are dropped.
    const struct {
        std::string block, password;
        int messages;
    } cases[] = {
        { "dab", "ab", 0 }, // marker says 3, block holds 2
        { "zhello   ", "hello ", 0 }, // only two spaces are dropped
        { std::string("eab\x1D"
                      "cd",
              6),
            "ab", 0 }, // ends at the mask byte
        { std::string("cb\0", 3), std::string("b\0", 2), 1 }, // a zero byte is reported
    };
    for (const auto& c : cases) {
        int messages = 0;
        EXPECT_EQ(
            UnscramblePassword(storedFromBlock(c.block), [&messages](const std::string&) { ++messages; }),
            c.password);
        EXPECT_EQ(messages, c.messages);
    }
}

} // namespace
