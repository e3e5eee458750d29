#include "CommandRegistry.h"
#include "common/TempFolder.h"
#include "jconvert/codes.h"
#include "jconvert/cp932.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(const tool::Args& argv, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, err;
    tool::Io io { in, out, err };
    const int status = tool::CommandRegistry::Instance().Run(argv, io);
    return { status, out.str(), err.str() };
}

const std::string kNihonEuc = "\xC6\xFC\xCB\xDC"; // 日本
const std::string kNihonSjis = "\x93\xFA\x96\x7B"; // 日本
const std::string kNihonJis = "\x1B$BF|K\\";

TEST(ConvertCommand, DetectsAndConvertsStandardInput)
{
    const struct {
        tool::Args argv;
        std::string in;
        std::string out;
    } cases[] = {
        { { "guess" }, kNihonEuc, "CODE_EUC\n" },
        { { "guess", "-" }, kNihonSjis, "CODE_SJIS\n" },
        { { "guess" }, kNihonJis, "CODE_JIS83\n" },
        { { "guess" }, "", "CODE_ASCII\n" },
        { { "convert", "--to", "sjis" }, kNihonEuc + "\r\n", kNihonSjis + "\r\n" },
        { { "convert", "--to", "euc" }, kNihonJis, kNihonEuc },
        { { "convert", "--to", "jis", "-" }, kNihonSjis, kNihonJis },
        { { "convert", "--to", "sjis" }, std::string("a\0b", 3), std::string("a\0b", 3) },
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.argv, c.in);
        EXPECT_EQ(outcome.status, tool::kExitOk) << c.argv[0];
        EXPECT_EQ(outcome.out, c.out) << c.argv[0] << ' ' << c.argv.back();
    }
}

const std::string kNihonUtf8 = "\xE6\x97\xA5\xE6\x9C\xAC"; // 日本

TEST(ConvertCommand, ConvertsToAndFromUtf8)
{
    const struct {
        tool::Args argv;
        std::string in;
        std::string out;
    } cases[] = {
        { { "guess" }, kNihonUtf8, "CODE_UTF8\n" },
        { { "convert", "--to", "utf8" }, kNihonSjis + "\r\n", kNihonUtf8 + "\r\n" },
        { { "convert", "--to", "utf8" }, kNihonJis, kNihonUtf8 },
        { { "convert", "--to", "sjis" }, "\xEF\xBB\xBF" + kNihonUtf8, kNihonSjis },
        { { "convert", "--to", "euc" }, kNihonUtf8 + "\xF0\x9F\x98\x80", kNihonEuc + "\xA2\xAE" },
        { { "convert", "--from", "utf8", "--to", "jis" }, kNihonUtf8, kNihonJis },
        // Given, the input's encoding is not detected: EUC-JP bytes read as
        // Shift_JIS.
        { { "convert", "--to", "utf8", "--from", "sjis" }, "\xA5\xB1", "\xEF\xBD\xA5\xEF\xBD\xB1" },
    };
    for (const auto& c : cases) {
        const Outcome outcome = run(c.argv, c.in);
        EXPECT_EQ(outcome.status, tool::kExitOk) << c.argv.back();
        EXPECT_EQ(outcome.out, c.out) << c.argv[0] << ' ' << c.argv.back();
    }
}

TEST(ConvertCommand, LongInputStreamsToTheWholeConversion)
{
    // Past the detection window and many blocks, with characters across
    // every block boundary that an odd-length line puts them on.
    std::string sjis;
    while (sjis.size() < 3 * (1u << 20))
        sjis += "\x83\x81\x83\x82\xB6\xDE a\r\n";
    sjis += "\x82\xA0";
    const Outcome toEuc = run({ "convert", "--to", "euc" }, sjis);
    EXPECT_TRUE(toEuc.out == jconvert::sjis2euc(sjis)) << toEuc.err;
    const Outcome toUtf8 = run({ "convert", "--to", "utf8" }, sjis);
    EXPECT_TRUE(toUtf8.out == jconvert::Cp932ToUtf8(sjis));
    const Outcome back = run({ "convert", "--to", "sjis" }, toUtf8.out);
    EXPECT_TRUE(back.out == sjis);
}

TEST(ConvertCommand, UndecidedInputIsCopiedWithANote)
{
    const Outcome outcome = run({ "convert", "--to", "jis" }, "\xA5\xE1\xA5\xE2");
    EXPECT_EQ(outcome.status, tool::kExitOk);
    EXPECT_EQ(outcome.out, "\xA5\xE1\xA5\xE2");
    EXPECT_NE(outcome.err.find("CODE_EUC_OR_SJIS"), std::string::npos);
}

TEST(ConvertCommand, ReadsFilesAndRejectsWhatItCannotRead)
{
    const test_files::TempFolder dir("convert");
    const std::filesystem::path file = dir.Write("euc.txt", kNihonEuc);

    EXPECT_EQ(run({ "convert", "--to", "sjis", file.string() }).out, kNihonSjis);
    EXPECT_EQ(run({ "guess", file.string() }).out, "CODE_EUC\n");
    for (const std::string& unreadable : { (dir / "missing").string(), dir.Path().string() }) {
        const Outcome outcome = run({ "guess", unreadable });
        EXPECT_EQ(outcome.status, tool::kExitFailure) << unreadable;
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_NE(outcome.err.find("cannot read"), std::string::npos);
        // The file unit's message follows, with the reason.
        EXPECT_NE(outcome.err.find(jconvert::Utf8ToCp932("\" は開けません。")), std::string::npos)
            << outcome.err;
    }
    for (const tool::Args& bad :
        std::initializer_list<tool::Args> { { "convert" }, { "convert", "--to", "utf16" },
            { "convert", "--from", "utf8" }, { "convert", "--to", "sjis", "--to", "euc" },
            { "convert", "sjis" }, { "convert", "--to", "sjis", "a", "b" }, { "guess", "a", "b" } })
        EXPECT_EQ(run(bad).status, tool::kExitUsage) << bad.size();
}

} // namespace
