// The memo text of MIME mail: part structure, transfer decoding, charsets,
// flowed text and HTML.

#include "mail/MimeBody.h"

#include "MemoMails.h"
#include "common/SjisLiteral.h"
#include "jconvert/TextLines.h"
#include "jconvert/encoded_words.h"
#include "mail/HtmlText.h"
#include "mail/Message.h"
#include "mail/Texts.h"

#include <gtest/gtest.h>
#include <string>

namespace {

mail::MimeBody Decode(const std::string& message)
{
    return mail::DecodeMimeBody(jconvert::SplitLines<std::string>(message));
}

TEST(MimeBody, MailsOfTodaysSenders)
{
    for (const mailtest::MemoMail& m : mailtest::MemoMails()) {
        const std::vector<std::string> lines
            = jconvert::SplitLines<std::string>(mailtest::ReadMemoMail(m.file));
        ASSERT_GT(lines.size(), 5u) << m.file;
        mail::Message msg;
        msg.LoadHeaders(lines);
        EXPECT_EQ(jconvert::DecodeEncodedWords(msg.Subject()), mailtest::Sjis(m.subject)) << m.file;
        const mail::MimeBody body = mail::DecodeMimeBody(lines);
        EXPECT_EQ(body.text, mailtest::Sjis(m.body)) << m.file;
        EXPECT_EQ(body.error, m.unreadable ? mail::texts::kUnknownUuScheme : "") << m.file;
    }
}

TEST(MimeBody, Structure)
{
    const struct {
        const char* name;
        std::string message, text;
    } cases[] = {
        { "no content type keeps every line", "Subject: s\n\na\n\n", "a\r\n\r\n" },
        { "no body at all", "Subject: s\n", "" },
        { "plain part preferred to an earlier html part",
            "Content-Type: multipart/alternative; boundary=b\n\n--b\nContent-Type: "
            "text/html\n\n<b>h</b>\n--b\n"
            "Content-Type: text/plain\n\nplain\n--b--\n",
            "plain\r\n" },
        { "html when there is no plain part",
            "Content-Type: multipart/alternative; boundary=b\n\n--b\nContent-Type: image/png\n\nx\n--b\n"
            "Content-Type: text/html\n\na<br>b\n--b--\n",
            "a\r\nb\r\n" },
        { "attachment skipped, inline with a name taken",
            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: text/plain\n"
            "Content-Disposition: ATTACHMENT; filename=a.txt\n\nno\n--b\nContent-Type: text/plain; "
            "name=x.txt\n"
            "Content-Disposition: inline\n\nyes\n--b--\n",
            "yes\r\n" },
        { "only an attachment gives nothing",
            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Disposition: "
            "attachment\n\nno\n--b--\n",
            "" },
        { "quoted boundary after other parameters, padding after delimiters",
            "Content-Type: multipart/mixed; charset=x; boundary=\"a b;c\"\n\npre\n--a b;c  \n\nin\n--a "
            "b;cx\n--a b;c-- \nepi\n",
            "in\r\n--a b;cx\r\n" },
        { "no closing delimiter runs to the end",
            "Content-Type: multipart/mixed; boundary=b\n\n--b\n\nlast\n", "last\r\n" },
        { "multipart without boundary read as text", "Content-Type: multipart/mixed\n\ntext\n", "text\r\n" },
        { "continued parameters",
            "Content-Type: multipart/mixed;\n boundary*0=\"x\";\n boundary*1=y\n\n--xy\nContent-Type: "
            "text/plain;"
            " charset*0=utf; charset*1*=-8\n\n\xe3\x83\xa1\n--xy--\n",
            Sjis("メ\r\n") },
        { "base64 with LF line ends", "Content-Transfer-Encoding: Base64\n\nYQpi\nCg==\n", "a\r\nb\r\n" },
        { "quoted-printable soft breaks", "Content-Transfer-Encoding: quoted-printable\n\nlong=\n line=3D1\n",
            "long line=1\r\n" },
        { "flowed without delsp keeps the blank",
            "Content-Type: text/plain; format=flowed\n\none \ntwo\n> q \n>> deeper\n",
            "one two\r\n> q \r\n>> deeper\r\n" },
        { "uuencoded block left out of a part",
            "Content-Type: multipart/mixed; boundary=b\n\n--b\n\nsee\nbegin 644 "
            "f\nM86)C\nend\nafter\n--b--\n",
            "see\r\nafter\r\n" },
        { "latin-1 part",
            "Content-Type: text/plain; charset=iso-8859-1\n\n2\xd7"
            "3\n",
            "2\x81\x7e"
            "3\r\n" }, // × as bytes: the mapping itself is what is checked
        { "message/rfc822 is not the text",
            "Content-Type: multipart/mixed; boundary=b\n\n--b\nContent-Type: message/rfc822\n\nSubject: "
            "x\n\ninner\n"
            "--b--\n",
            "" },
    };
    for (const auto& c : cases) {
        const mail::MimeBody body = Decode(c.message);
        EXPECT_EQ(body.text, c.text) << c.name;
        EXPECT_EQ(body.error, "") << c.name;
    }
}

TEST(MimeBody, DeepNestingEndsWithoutText)
{
    std::string message;
    for (int i = 0; i < 500; ++i)
        message += "Content-Type: multipart/mixed; boundary=b" + std::to_string(i) + "\n\n--b"
            + std::to_string(i) + "\n";
    message += "\ndeep\n";
    EXPECT_EQ(Decode(message).text, "");
}

TEST(HtmlToText, Cases)
{
    const struct {
        const char* html;
        std::string text;
    } cases[] = {
        { "a<br>b<BR/>c", "a\r\nb\r\nc" },
        { "<p>one</p><p>two</p>", "one\r\ntwo" },
        { "a<br><br>b", "a\r\n\r\nb" },
        { "<div>x</div><div><br></div><div>y</div>", "x\r\n\r\ny" },
        { "  many   \n blanks\t here ", "many blanks here" },
        { "<a href=\"x>y\">link</a> text", "link text" },
        { "1 < 2 &gt; 0 &unknown; &amp", "1 < 2 > 0 &unknown; &amp" },
        { "<script>var a = '<p>';</script>shown<STYLE>p{}</STYLE>", "shown" },
        { "&#65;&#x42;&#0;&#x110000;", "AB&#0;&#x110000;" },
        { "<!-- <br> -->a<!-- open", "a" },
        { "<ul><li>x</li><li>y</li></ul>", "x\r\ny" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(mail::HtmlToText(c.html), c.text) << c.html;
}

} // namespace
