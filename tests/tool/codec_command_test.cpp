#include "CommandRegistry.h"
#include "jconvert/codes.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

using namespace std::string_literals;

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome codec(const tool::Args& args, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    tool::Io io { in, out, err };
    tool::Args argv { "codec" };
    argv.insert(argv.end(), args.begin(), args.end());
    const int status = tool::CommandRegistry::instance().run(argv, io);
    return { status, out.str(), err.str() };
}

struct Case {
    tool::Args args;
    std::string in;
    std::string out;
};

std::string repeat(const std::string& s, int n)
{
    std::string out;
    while (n-- > 0)
        out += s;
    return out;
}

const std::string kMeMoSjis = "\x83\x81\x83\x82"; // メモ
const std::string kMeMoJis = "\x1B$B%a%b\x1B(B";

TEST(CodecCommand, AppliesTheNamedFunctionToStandardInput)
{
    const Case cases[] = {
        { { "InCodeCheck" }, kMeMoSjis, "5\n" },
        // A zero byte after decisive Shift_JIS is only seen by the screening.
        { { "InCodeCheck" }, "\x83\x81\0x"s, "1\n" },
        { { "--strict-check-len", "2", "InCodeCheck" }, "\x83\x81\0x"s, "5\n" },
        { { "ConvertJCode", "5" }, kMeMoJis, kMeMoSjis },
        { { "StrictConvertJCode", "2", "5" }, kMeMoJis, kMeMoSjis },
        { { "jis2sjis" }, kMeMoJis, kMeMoSjis },
        { { "sjis2euc" }, kMeMoSjis, "\xA5\xE1\xA5\xE2" },
        { { "ToSjis", "25", "61" }, "ignored", "\x83\x81" },
        { { "ToJis", "88", "9f" }, "", "0!" },
        { { "ReturnCodeCheck" }, "a\r\nb", "1\n" },
        { { "ConvertReturnCode", "3" }, "a\r\nb\r\n", "a\nb\n" },
        { { "StrictConvertReturnCode", "1", "2" }, "a\r\nb", "a\rb" },
        { { "EncodeBase64" }, "abc\0"s, "YWJjAA==" },
        { { "EncodeBase64R", "0d0a" }, std::string(57, 'x'), repeat("eHh4", 19) + "\r\n" },
        { { "EncodeUU", "-" }, "abc", "#86)C`" },
        { { "EncodeBinHex", "0A" }, "abc", ":B@*M:" },
        { { "DecodeBase64" }, "AP/+", "\0\xFF\xFE"s },
        { { "DecodeUU" }, "#86)C\n`\n", "abc" },
        { { "DecodeBinHex" }, ":B@*M:", "abc" },
        { { "CreateHeaderString" }, "Re: " + kMeMoSjis, "Re: =?ISO-2022-JP?B?GyRCJWElYg==?=" },
        { { "DecodeHeaderString" }, "=?ISO-2022-JP?B?GyRCJWElYhsoQg==?=", kMeMoJis + "\x1B(J" },
        { { "Cp932ToUtf8" }, kMeMoSjis + "\xEE\xEF", "\xE3\x83\xA1\xE3\x83\xA2\xE2\x85\xB0" },
        { { "Utf8ToCp932" }, "\xE2\x85\xB0\xF0\x9F\x98\x80", "\xFA\x40\x81\xAC" },
    };
    for (const auto& c : cases) {
        const Outcome r = codec(c.args, c.in);
        EXPECT_EQ(r.status, tool::kExitOk) << c.args[0] << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
        EXPECT_EQ(r.err, "") << c.args[0];
    }
}

TEST(CodecCommand, RejectsBadUsageWithOneLineAndStatus2)
{
    const tool::Args cases[] = {
        {},
        { "NoSuchFunction" },
        { "ConvertJCode" },
        { "ConvertJCode", "five" },
        { "ConvertJCode", "99999999999" },
        { "StrictConvertJCode", "2", "" },
        { "EncodeUU", "0d0" },
        { "EncodeUU", "0g" },
        { "ToSjis", "2561" },
        { "ToSjis", "25", "161" },
        { "InCodeCheck", "extra" },
        { "--strict-check-len" },
        { "--strict-check-len", "abc", "InCodeCheck" },
    };
    for (const auto& args : cases) {
        const Outcome r = codec(args, "abc");
        const std::string shown = args.empty() ? "(none)" : args[0];
        EXPECT_EQ(r.status, tool::kExitUsage) << shown;
        EXPECT_EQ(r.out, "") << shown;
        ASSERT_FALSE(r.err.empty()) << shown;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << shown << ": " << r.err;
    }
}

TEST(CodecCommand, LeavesStrictCheckLenAsItFoundIt)
{
    const int before = jconvert::STRICT_CHECK_LEN;
    EXPECT_EQ(codec({ "--strict-check-len", "3", "InCodeCheck" }, "abc").status, tool::kExitOk);
    EXPECT_EQ(codec({ "--strict-check-len", "3", "Bogus" }, "abc").status, tool::kExitUsage);
    EXPECT_EQ(jconvert::STRICT_CHECK_LEN, before);
}

} // namespace
