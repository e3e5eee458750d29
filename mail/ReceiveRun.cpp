#include "mail/ReceiveRun.h"

#include "jconvert/TextLines.h"
#include "jconvert/codes.h"
#include "jconvert/encoded_words.h"
#include "jconvert/mime_header.h"
#include "jconvert/sjis.h"
#include "mail/Message.h"
#include "mail/MimeBody.h"
#include "mail/ReceiveWindow.h"
#include "mail/Texts.h"

#include <exception>

namespace mail {

std::string StatusLogLine(int status)
{
    std::string line = texts::kStatusPrefix;
    switch (status) {
    case hsResolving:
        return line + texts::kResolving;
    case hsConnecting:
        return line + texts::kConnecting;
    case hsConnected:
        return line + texts::kConnected;
    case hsDisconnecting:
        return line + texts::kDisconnecting;
    case hsDisconnected:
        return line + texts::kDisconnected;
    default:
        return line + std::to_string(status);
    }
}

std::string RemoveEscapeSequences(std::string_view subject)
{
    std::string result;
    result.reserve(subject.size());
    for (std::size_t i = 0; i < subject.size(); ++i) {
        if (subject[i] == '\x1b' && i + 2 < subject.size()
            && (subject[i + 1] == '(' || subject[i + 1] == '$')) {
            i += 2;
            continue;
        }
        result += subject[i];
    }
    return result;
}

bool IsMemoSubject(std::string_view subject, std::string_view keyword1, std::string_view keyword2)
{
    return jconvert::SjisStartsWith(subject, keyword1) || jconvert::SjisStartsWith(subject, keyword2);
}

std::string DecodeSubject(const std::string& rawSubject)
{
    std::string subject = jconvert::DecodeHeaderString(rawSubject);
    subject = jconvert::ConvertJCode(subject, jconvert::CODE_SJIS);
    return RemoveEscapeSequences(subject);
}

ReceiveRun::ReceiveRun(ReceiveConfig config, ReceiveWindow& window)
    : config_(std::move(config))
    , window_(window)
    , client_(config_, [this](Pop3Status status) { IdPOP31Status(status); })
{
}

void ReceiveRun::IdPOP31Status(Pop3Status status)
{
    window_.AddLogLine(StatusLogLine(status));
}

void ReceiveRun::Run()
{
    window_.SetReceiveEnabled(false);
    std::exception_ptr failure;
    try {
        client_.Connect();
        const int count = client_.CheckMessages();
        window_.AddLogLine(texts::kMailCount + std::to_string(count));
        window_.AddLogLine(texts::kSeparator);
        // The client may ask for the memo mails ahead, on the same test the
        // run makes below.
        client_.PlanFetches(count, [this](const Message& header) {
            return IsMemoSubject(SubjectOf(header), config_.keyword1, config_.keyword2);
        });
        for (int n = 1; n <= count; ++n)
            ReceiveOneMail(n);
    } catch (...) {
        failure = std::current_exception();
    }
    client_.Disconnect();
    window_.SetReceiveEnabled(true);
    if (failure)
        std::rethrow_exception(failure);
}

std::string ReceiveRun::SubjectOf(const Message& msg) const
{
    return config_.decodeMime ? jconvert::DecodeEncodedWords(msg.Subject()) : DecodeSubject(msg.Subject());
}

void ReceiveRun::ReceiveOneMail(int n)
{
    Message msg;
    client_.RetrieveHeader(n, msg);
    const std::string subject = SubjectOf(msg);
    window_.AddLogLine(texts::kSubject + subject);

    if (IsMemoSubject(subject, config_.keyword1, config_.keyword2)) {
        const Pop3Client::Fetch fetched = client_.Retrieve(n, msg);
        if (fetched == Pop3Client::Fetch::Ok) {
            std::string body;
            std::string error = msg.BodyError();
            if (config_.decodeMime) {
                MimeBody mime = DecodeMimeBody(msg.Lines());
                body = std::move(mime.text);
                error = std::move(mime.error);
            } else if (error.empty()) {
                body = jconvert::ConvertJCode(msg.Body(), jconvert::CODE_SJIS);
            }
            // A mail whose body cannot be read shows why in the log in place
            // of its body, adds nothing, and the run goes on with the next.
            if (!error.empty())
                window_.AddLogLine(error);
            // The log shows the body line by line.
            for (const std::string_view line : jconvert::SplitLines(body))
                window_.AddLogLine(std::string(line));
            // A body of nothing but line ends would only add blank lines, run
            // after run, so it is left out of the memo.
            const bool hasText = body.find_first_not_of("\r\n") != std::string::npos;
            if (hasText && jconvert::SjisFind(window_.MemoText(), body) == std::string::npos)
                window_.AppendMemoLines(body);
        } else if (fetched == Pop3Client::Fetch::TooLarge) {
            window_.AddLogLine(texts::kMessageTooLarge);
        } else {
            window_.AddLogLine(texts::kRetrieveFailed);
        }
    }
    window_.AddLogLine(texts::kSeparator);
}

} // namespace mail
