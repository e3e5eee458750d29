// corkpane-tool mime FILE|-: reads one saved mail message (a file, or
// standard input for "-") as a reception run with MIME reading on would, and
// prints what the run would see: the line "件名:" with the decoded subject,
// then the body text the memo would receive, or the reason no body could be
// taken. Everything printed is Shift_JIS with CR LF line ends. Either form
// reads at most the memo's read limit (16 MB).
#include "CommandRegistry.h"
#include "jconvert/TextLines.h"
#include "jconvert/encoded_words.h"
#include "mail/Message.h"
#include "mail/MimeBody.h"
#include "mail/Texts.h"
#include "platform/FileIo.h"
#include "tool/Texts.h"

#include <cerrno>
#include <istream>
#include <string>

namespace {

constexpr char kSynopsis[] = "mime FILE|-   decoded subject and memo body of a saved mail";

int Run(const tool::Args& args, tool::Io& io)
{
    if (args.size() != 1) {
        io.err << "usage: corkpane-tool mime FILE|-\n";
        return tool::kExitUsage;
    }
    std::string message;
    if (args[0] == "-") {
        // The file form's limit holds here too: a mail no reception keeps
        // is refused without holding more of it than the limit.
        char block[65536];
        while (io.in.read(block, sizeof block), io.in.gcount() > 0) {
            message.append(block, static_cast<std::size_t>(io.in.gcount()));
            if (message.size() > platform::kMemoReadLimit)
                throw platform::FileIoError(
                    tool::texts::kStandardInputUnreadable + platform::FileErrorReason(EFBIG), EFBIG);
        }
    } else {
        // Through the file unit: a folder, a pipe or a missing file is a
        // cannot-open error, never an empty mail reported as read.
        message = platform::ReadWholeFile(args[0], platform::kMemoReadLimit);
    }
    const std::vector<std::string> lines = jconvert::SplitLines<std::string>(message);
    mail::Message msg;
    msg.LoadHeaders(lines);
    const mail::MimeBody body = mail::DecodeMimeBody(lines);
    io.out << mail::texts::kSubject << jconvert::DecodeEncodedWords(msg.Subject()) << "\r\n";
    if (!body.error.empty())
        io.out << body.error << "\r\n";
    else
        io.out << body.text;
    return io.out ? tool::kExitOk : tool::kExitFailure;
}

const tool::Registration reg { "mime", kSynopsis, &Run };

} // namespace
