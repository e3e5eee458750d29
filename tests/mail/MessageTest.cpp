#include "mail/Message.h"

#include "mail/MailError.h"
#include "mail/Texts.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The lines of text split at LF, as the client hands them over.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A message text and what is expected from it.
struct TextCase {
    const char* name;
    const char* input;
    const char* expected;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

using SubjectCase = TextCase;
using BodyCase = TextCase;

class SubjectTest : public testing::TestWithParam<SubjectCase> { };

TEST_P(SubjectTest, FirstFieldUnfoldedAndTrimmed)
{
    mail::Message msg;
    msg.LoadHeaders(Lines(GetParam().input));
    EXPECT_EQ(msg.Subject(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Message, SubjectTest,
    testing::Values(SubjectCase { "plain", "From: a@b\nSubject: hello\n", "hello" },
        SubjectCase { "any_case_name", "SUBJECT:   spaced out  \n", "spaced out" },
        SubjectCase { "first_of_two", "subject: one\nSubject: two\n", "one" },
        SubjectCase { "folded",
            "Subject: =?ISO-2022-JP?B?AA==?=\n\t  =?ISO-2022-JP?B?BB==?=  \n  third\nTo: x\n",
            "=?ISO-2022-JP?B?AA==?= =?ISO-2022-JP?B?BB==?= third" },
        SubjectCase { "missing", "From: a@b\nX-Subject: no\n", "" },
        SubjectCase { "body_not_header", "From: a@b\n\nSubject: in the body\n", "" },
        SubjectCase { "empty_value", "Subject:\nTo: x\n", "" }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

class BodyTest : public testing::TestWithParam<BodyCase> { };

TEST_P(BodyTest, PlainBodyText)
{
    mail::Message msg;
    msg.LoadMessage(Lines(GetParam().input));
    EXPECT_EQ(msg.Body(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Message, BodyTest,
    testing::Values(BodyCase { "lines_get_crlf", "Subject: s\n\nfirst\n\nthird\n", "first\r\n\r\nthird\r\n" },
        BodyCase { "no_body", "Subject: s\n", "" },
        BodyCase { "multipart_keeps_preamble_and_epilogue",
            "Content-Type: multipart/alternative;\n boundary=\"Part_1\"\n\n"
            "This is a multi-part message.\n--part_1\nContent-Type: text/plain\n\ntext part\n"
            "--Part_1\nContent-Type: text/html\n\n<p>html</p>\n--PART_1--\nepilogue\n",
            "This is a multi-part message.\r\nepilogue\r\n" },
        BodyCase { "unquoted_boundary_ends_at_parameter",
            "Content-Type: multipart/mixed; boundary=xyz; charset=us-ascii\n\npre\n--xyz\n\npart\n--xyz--\n",
            "pre\r\n" },
        // The boundary is the Content-Type parameter of that name, read as
        // the MIME reading reads parameters.
        BodyCase { "boundary_parameter_with_blanks_and_comment",
            "Content-Type: multipart/mixed; (note) boundary = \"b\"\n\npre\n--b\n\npart\n--b--\n",
            "pre\r\n" },
        BodyCase { "other_parameter_ending_in_boundary_is_none",
            "Content-Type: multipart/mixed; xboundary=b\n\npre\n--b\n--b--\n", "pre\r\n--b\r\n--b--\r\n" },
        BodyCase { "boundary_never_used_keeps_all",
            "Content-Type: multipart/mixed; boundary=\"zz\"\n\nline one\n--other\nline two\n",
            "line one\r\n--other\r\nline two\r\n" },
        BodyCase { "boundary_with_base64_is_empty",
            "Content-Type: multipart/mixed; boundary=\"b\"\nContent-Transfer-Encoding: "
            "BASE64\n\nQUJD\n--b\nx\n--b--\n",
            "" },
        BodyCase { "boundary_with_quoted_printable_is_empty",
            "Content-Type: text/plain; boundary=q\nContent-Transfer-Encoding: Quoted-Printable\n\na=3Db\n",
            "" },
        BodyCase { "base64_without_boundary_stays_encoded",
            "Content-Transfer-Encoding: base64\n\nGyRCJWElYhsoQg==\n", "GyRCJWElYhsoQg==\r\n" },
        BodyCase { "uuencode_block_dropped",
            "Subject: s\n\nsee below\nbegin 644 a.txt\nM86)C\n`\nEND \nafter\n", "see below\r\nafter\r\n" },
        BodyCase { "xxencode_block_dropped", "\nbegin 600 b\nh+0\n end\nx\n", "x\r\n" },
        BodyCase { "not_begin_lines_stay", "\nbegin 000 zero\nbegin 64x name\nbegin 644\nbeginning 644 x\n",
            "begin 000 zero\r\nbegin 64x name\r\nbegin 644\r\nbeginning 644 x\r\n" }),
    [](const auto& tpi) { return std::string(tpi.param.name); });

// An unknown scheme is reported on the message, not thrown, so that the run
// can go on with the next mail.
TEST(Message, UnknownUuSchemeLeavesBodyEmptyWithError)
{
    for (const char* text :
        { "\nbefore\nbegin 644 a.txt\n&86)C\nend\n", "\nBegin 644 a.txt\n", "\nbegin 644 a\n\nend\n" }) {
        mail::Message msg;
        EXPECT_NO_THROW(msg.LoadMessage(Lines(text))) << text;
        EXPECT_EQ(msg.BodyError(), mail::texts::kUnknownUuScheme) << text;
        EXPECT_EQ(msg.Body(), "");
    }
    mail::Message msg;
    msg.LoadMessage(Lines("\nbegin 644 a.txt\nM86)C\nend\n"));
    EXPECT_EQ(msg.BodyError(), "");
}

} // namespace
