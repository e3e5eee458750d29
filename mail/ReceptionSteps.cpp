#include "mail/ReceptionSteps.h"

#include "jconvert/TextLines.h"
#include "jconvert/codes.h"
#include "jconvert/encoded_words.h"
#include "jconvert/sjis.h"
#include "mail/ConnectError.h"
#include "mail/Message.h"
#include "mail/MimeBody.h"
#include "mail/ReceiveRun.h"
#include "mail/ReceiveWindow.h"
#include "mail/Texts.h"
#include "platform/SystemErrorText.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <exception>
#include <new>
#include <thread>

namespace mail {

std::string OneLogLine(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            line += ' ';
        } else {
            line += text[i];
        }
    }
    return line;
}

std::string ShownSubject(const std::string& rawSubject, bool decodeMime)
{
    return decodeMime ? jconvert::DecodeEncodedWords(rawSubject) : DecodeSubject(rawSubject);
}

MemoOutcome TakeMemoMail(const Message& msg, bool decodeMime, std::size_t maxMemoBytes, ReceiveWindow& window)
{
    std::string body;
    std::string error = msg.BodyError();
    if (decodeMime) {
        MimeBody mime = DecodeMimeBody(msg.Lines());
        body = std::move(mime.text);
        error = std::move(mime.error);
    } else if (error.empty()) {
        body = jconvert::ConvertJCode(msg.Body(), jconvert::CODE_SJIS);
    }
    // A mail whose body cannot be read shows why in the log in place of its
    // body and adds nothing.
    if (!error.empty())
        window.AddLogLine(error);
    for (const std::string_view line : jconvert::SplitLines(body))
        window.AddLogLine(std::string(line));
    // A body of nothing but line ends would only add blank lines, pass
    // after pass.
    if (body.find_first_not_of("\r\n") == std::string::npos)
        return MemoOutcome::NoText;
    const std::string memo = window.MemoText();
    // The memo gets a line break first unless it ends with one.
    const std::size_t joint = memo.empty() || memo.back() == '\n' || memo.back() == '\r' ? 0 : 2;
    if (jconvert::SjisFind(memo, body) != std::string::npos)
        return MemoOutcome::InMemo;
    if (memo.size() + joint + body.size() > maxMemoBytes) {
        window.AddLogLine(texts::kMemoFull);
        return MemoOutcome::MemoFull;
    }
    window.AppendMemoLines(body);
    return MemoOutcome::Added;
}

void ConnectWaitingForNetwork(const std::function<void()>& connect, int networkWaitMs, ReceiveWindow& window)
{
    // The pauses grow by a second each time (tries at 0, 1, 3, 6, 10, 15,
    // 21 and 28 s for a 30 s wait), so that a network that comes up a few
    // seconds late is found soon, without trying every moment.
    const auto start = std::chrono::steady_clock::now();
    const auto wait = std::chrono::milliseconds(std::max(networkWaitMs, 0));
    for (int pause = 1;; ++pause) {
        try {
            connect();
            return;
        } catch (const ConnectError& error) {
            if (std::chrono::steady_clock::now() - start + std::chrono::seconds(pause) > wait)
                throw;
            window.AddLogLine(texts::kConnectRetry + std::to_string(pause) + texts::kConnectRetryAfter
                + OneLogLine(error.what()));
            std::this_thread::sleep_for(std::chrono::seconds(pause));
        }
    }
}

void RunPass(
    ReceiveWindow& window, const std::function<void()>& pass, const std::function<void(bool failed)>& close)
{
    window.SetReceiveEnabled(false);
    std::exception_ptr failure;
    std::string reason;
    try {
        pass();
    } catch (const std::bad_alloc&) {
        failure = std::current_exception();
        reason = platform::SystemErrorText(ENOMEM);
    } catch (const std::exception& error) {
        failure = std::current_exception();
        reason = error.what();
    } catch (...) {
        failure = std::current_exception();
    }
    close(failure != nullptr);
    // The log alone shows how the run ended, also where no message box is
    // seen (the logon run, the command line's output).
    if (failure)
        window.AddLogLine(texts::kRunFailed + OneLogLine(reason));
    window.SetReceiveEnabled(true);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace mail
