// Cross-checks the converters against glibc iconv over every JIS X 0208
// character (rows 1-84), in each direction where both define the
// conversion, and checks that the converters round-trip the whole set.

#include "jconvert/codes.h"
#include "tests/jconvert/hex_bytes.h"
#include "tests/jconvert/iconv_converter.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace jconvert;
using jconvert_test::Iconv;
using jconvert_test::ToHex;

namespace {

const std::string kEnterJis = "\x1B$B";
const std::string kLeaveJis = "\x1B(B";

// Our JIS output has no closing escape and iconv's JIS input needs one; the
// character bytes are what both must agree on.
std::string JisCharacter(const std::string& jis)
{
    return jis.size() >= 5 && jis.compare(0, 3, kEnterJis) == 0 ? jis.substr(3, 2) : "(not a JIS character)";
}

TEST(IconvCrossCheck, EveryJisX0208CharacterInSixDirections)
{
    Iconv jisToSjis("CP932", "ISO-2022-JP"), jisToEuc("EUC-JP", "ISO-2022-JP");
    Iconv eucToSjis("CP932", "EUC-JP"), eucToJis("ISO-2022-JP", "EUC-JP");
    Iconv sjisToJis("ISO-2022-JP", "CP932"), sjisToEuc("EUC-JP", "CP932");
    ASSERT_TRUE(jisToSjis.ok() && jisToEuc.ok() && eucToSjis.ok() && eucToJis.ok() && sjisToJis.ok()
        && sjisToEuc.ok());

    std::map<std::string, int> compared;
    auto check = [&](const char* direction, const std::string& ours, const std::optional<std::string>& theirs,
                     const std::string& character) {
        // Skip what iconv cannot map, and what it maps through a Unicode
        // character outside JIS X 0208 (CP932's 〜 becomes EUC-JP's JIS X
        // 0212 tilde, 8F A2 B7).
        if (!theirs || (theirs->size() == 3 && static_cast<unsigned char>((*theirs)[0]) == 0x8F))
            return;
        ++compared[direction];
        EXPECT_EQ(ToHex(ours), ToHex(*theirs)) << direction << " of JIS " << ToHex(character);
    };

    for (int row = 0x21; row <= 0x20 + 84; ++row) {
        for (int col = 0x21; col <= 0x7E; ++col) {
            const std::string character { static_cast<char>(row), static_cast<char>(col) };
            const std::string jis = kEnterJis + character + kLeaveJis;
            const auto sjis = jisToSjis(jis);
            const auto euc = jisToEuc(jis);
            check("JIS to SJIS", jis2sjis(jis), sjis, character);
            check("JIS to EUC", jis2euc(jis), euc, character);
            if (euc) {
                check("EUC to SJIS", euc2sjis(*euc), eucToSjis(*euc), character);
                const auto theirs = eucToJis(*euc);
                check("EUC to JIS", JisCharacter(euc2jis83(*euc)),
                    theirs ? std::optional(JisCharacter(*theirs)) : std::nullopt, character);
            }
            if (sjis) {
                check("SJIS to EUC", sjis2euc(*sjis), sjisToEuc(*sjis), character);
                const auto theirs = sjisToJis(*sjis);
                check("SJIS to JIS", JisCharacter(sjis2jis83(*sjis)),
                    theirs ? std::optional(JisCharacter(*theirs)) : std::nullopt, character);
            }
        }
    }
    // JIS X 0208 defines 6879 characters; iconv leaves out only a few
    // vendor-specific ones in some directions.
    for (const char* direction :
        { "JIS to SJIS", "JIS to EUC", "EUC to SJIS", "EUC to JIS", "SJIS to EUC", "SJIS to JIS" })
        EXPECT_GT(compared[direction], 6800) << direction;
}

TEST(IconvCrossCheck, WholeTableRoundTrips)
{
    // Every row-1..84 code point, defined or not, with ASCII and line ends
    // between rows, in each encoding.
    std::string euc;
    for (int row = 0x21; row <= 0x20 + 84; ++row) {
        for (int col = 0x21; col <= 0x7E; ++col) {
            euc.push_back(static_cast<char>(row | 0x80));
            euc.push_back(static_cast<char>(col | 0x80));
        }
        euc += "row\r\n";
    }
    const std::string sjis = euc2sjis(euc);
    const std::string jis = euc2jis83(euc);
    EXPECT_EQ(InCodeCheck(sjis), CODE_SJIS);
    EXPECT_EQ(InCodeCheck(euc), CODE_EUC);
    EXPECT_EQ(InCodeCheck(jis), CODE_JIS83);
    EXPECT_EQ(sjis2euc(sjis), euc);
    EXPECT_EQ(jis2euc(jis), euc);
    EXPECT_EQ(jis2sjis(jis), sjis);
    EXPECT_EQ(sjis2jis83(sjis), jis);
    EXPECT_EQ(ConvertJCode(jis, CODE_SJIS), sjis);
    EXPECT_EQ(ConvertJCode(sjis, CODE_EUC), euc);
}

} // namespace
