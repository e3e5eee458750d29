#include "CommandRegistry.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/FileIo.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome Invoke(const tool::Args& argv, const std::string& input = "")
{
    std::istringstream in(input);
    std::ostringstream out, errors;
    tool::Io io { in, out, errors };
    const int status = tool::CommandRegistry::Instance().Run(argv, io);
    return { status, out.str(), errors.str() };
}

// A phone's memo: Q-encoded UTF-8 subject, quoted-printable UTF-8 body.
const std::string kMail = "Subject: =?UTF-8?Q?=E3=83=A1=E3=83=A2?= milk\r\n"
                          "MIME-Version: 1.0\r\n"
                          "Content-Type: text/plain; charset=UTF-8\r\n"
                          "Content-Transfer-Encoding: quoted-printable\r\n"
                          "\r\n"
                          "=E7=89=9B=E4=B9=B3=E3=82=92=E8=B2=B7=E3=81=86\r\n";

TEST(MimeCommand, FileAndStandardInputGiveSubjectAndBody)
{
    const test_files::TempFolder folder("mime");
    const std::filesystem::path file = folder.Write("memo.eml", kMail);
    const std::string expected = Sjis("件名:メモ milk\r\n牛乳を買う\r\n");
    for (const Outcome& r : { Invoke({ "mime", file.string() }), Invoke({ "mime", "-" }, kMail) }) {
        EXPECT_EQ(r.status, tool::kExitOk) << r.err;
        EXPECT_EQ(test_text::Utf8(r.out), test_text::Utf8(expected));
    }
}

TEST(MimeCommand, WhatIsNoReadableFileFailsWithTheFileMessage)
{
    const test_files::TempFolder folder("mime");
    for (const std::filesystem::path& path : { folder.Path(), folder / "missing.eml" }) {
        const Outcome r = Invoke({ "mime", path.string() });
        EXPECT_EQ(r.status, tool::kExitFailure) << path;
        EXPECT_EQ(r.out, "") << path;
        EXPECT_NE(r.err.find(Sjis("は開けません。")), std::string::npos) << path;
    }
    EXPECT_EQ(Invoke({ "mime" }).status, tool::kExitUsage);
}

// Standard input has the file form's limit: one byte over it is refused
// in both forms with the too-large reason, and nothing is printed.
TEST(MimeCommand, BothFormsRefuseAMailOverTheMemoLimit)
{
    const test_files::TempFolder folder("mime");
    const std::string atLimit = kMail + std::string(platform::kMemoReadLimit - kMail.size(), 'x');
    const std::filesystem::path file = folder.Write("big.eml", atLimit + "x");
    for (const Outcome& r : { Invoke({ "mime", file.string() }), Invoke({ "mime", "-" }, atLimit + "x") }) {
        EXPECT_EQ(r.status, tool::kExitFailure);
        EXPECT_EQ(r.out, "");
        EXPECT_TRUE(r.err.ends_with(platform::FileErrorReason(EFBIG) + "\n")) << test_text::Utf8(r.err);
    }
    EXPECT_EQ(Invoke({ "mime", "-" }, atLimit).status, tool::kExitOk);
}

} // namespace
