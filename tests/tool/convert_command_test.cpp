#include "CommandRegistry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

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
    const int status = tool::CommandRegistry::instance().run(argv, io);
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

TEST(ConvertCommand, UndecidedInputIsCopiedWithANote)
{
    const Outcome outcome = run({ "convert", "--to", "jis" }, "\xA5\xE1\xA5\xE2");
    EXPECT_EQ(outcome.status, tool::kExitOk);
    EXPECT_EQ(outcome.out, "\xA5\xE1\xA5\xE2");
    EXPECT_NE(outcome.err.find("CODE_EUC_OR_SJIS"), std::string::npos);
}

TEST(ConvertCommand, ReadsFilesAndRejectsWhatItCannotRead)
{
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("corkpane-convert-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "euc.txt";
    std::ofstream(file, std::ios::binary) << kNihonEuc;

    EXPECT_EQ(run({ "convert", "--to", "sjis", file.string() }).out, kNihonSjis);
    EXPECT_EQ(run({ "guess", file.string() }).out, "CODE_EUC\n");
    for (const std::string& unreadable : { (dir / "missing").string(), dir.string() }) {
        const Outcome outcome = run({ "guess", unreadable });
        EXPECT_EQ(outcome.status, tool::kExitFailure) << unreadable;
        EXPECT_TRUE(outcome.out.empty());
        EXPECT_NE(outcome.err.find("cannot read"), std::string::npos);
    }
    for (const tool::Args& bad :
        std::initializer_list<tool::Args> { { "convert" }, { "convert", "--to", "utf8" },
            { "convert", "sjis" }, { "convert", "--to", "sjis", "a", "b" }, { "guess", "a", "b" } })
        EXPECT_EQ(run(bad).status, tool::kExitUsage) << bad.size();
    std::filesystem::remove_all(dir);
}

} // namespace
