#include "mail/ReceiveRun.h"

#include "jconvert/codes.h"
#include "jconvert/mime_header.h"
#include "jconvert/sjis.h"
#include "mail/Message.h"
#include "mail/ReceiveWindow.h"
#include "mail/ReceptionSteps.h"
#include "mail/Texts.h"

#include <exception>

namespace mail {

namespace {

// What the server's id list may hold in memory, its bookkeeping counted:
// far above any real mailbox's.
constexpr std::size_t kMaxIdListBytes = 32 * 1024 * 1024;

} // namespace

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
    RunPass(
        window_,
        [this] {
            mail::ConnectWaitingForNetwork([this] { client_.Connect(); }, config_.networkWaitMs, window_);
            const int count = client_.CheckMessages();
            window_.AddLogLine(texts::kMailCount + std::to_string(count));
            if (config_.remember)
                ListUniqueIds(count);
            window_.AddLogLine(texts::kSeparator);
            // The client may ask for the memo mails ahead, on the same test the
            // run makes below.
            client_.PlanFetches(count, [this](int n, const Message& header) {
                return IsMemoSubject(ShownSubject(header.Subject(), config_.decodeMime), config_.keyword1,
                           config_.keyword2)
                    && !IsRemembered(n);
            });
            for (int n = 1; n <= count; ++n)
                ReceiveOneMail(n);
        },
        [this](bool) { client_.Disconnect(); });
}

void ReceiveRun::ListUniqueIds(int count)
{
    listed_ = client_.ListUniqueIds(count, ids_, kMaxIdListBytes);
    if (!listed_) {
        window_.AddLogLine(texts::kNoUidl);
        return;
    }
    remembered_.insert(config_.receivedIds.begin(), config_.receivedIds.end());
    // Only what the server still lists is kept: a mail deleted there is
    // forgotten.
    std::unordered_set<std::string> listed;
    for (int n = 1; n <= count; ++n) {
        auto id = ids_.find(n);
        if (id == ids_.end() || !remembered_.count(id->second) || !listed.insert(id->second).second)
            continue;
        kept_.push_back(id->second);
        keptBytes_ += id->second.size() + 1;
    }
}

const std::string& ReceiveRun::UniqueId(int n) const
{
    static const std::string none;
    if (!listed_)
        return none;
    auto id = ids_.find(n);
    return id == ids_.end() ? none : id->second;
}

bool ReceiveRun::IsRemembered(int n) const
{
    const std::string& id = UniqueId(n);
    return !id.empty() && remembered_.count(id) > 0;
}

void ReceiveRun::Remember(int n)
{
    const std::string& id = UniqueId(n);
    // A memory that is full remembers nothing more; those mails are then
    // kept out of the memo by its text alone, as without remembering.
    if (id.empty() || remembered_.count(id) > 0 || keptBytes_ + id.size() + 1 > config_.maxRememberedBytes)
        return;
    remembered_.insert(id);
    kept_.push_back(id);
    keptBytes_ += id.size() + 1;
}

std::optional<std::vector<std::string>> ReceiveRun::RememberedIds() const
{
    if (!config_.remember || !listed_)
        return std::nullopt;
    return kept_;
}

void ReceiveRun::ReceiveOneMail(int n)
{
    Message msg;
    client_.RetrieveHeader(n, msg);
    const std::string subject = ShownSubject(msg.Subject(), config_.decodeMime);
    window_.AddLogLine(texts::kSubject + subject);

    if (IsMemoSubject(subject, config_.keyword1, config_.keyword2)) {
        // A remembered mail is not even fetched.
        if (IsRemembered(n))
            window_.AddLogLine(texts::kAlreadyReceived);
        else
            ReceiveMemoMail(n, msg);
    }
    window_.AddLogLine(texts::kSeparator);
}

void ReceiveRun::ReceiveMemoMail(int n, Message& msg)
{
    switch (client_.Retrieve(n, msg)) {
    case Pop3Client::Fetch::Ok:
        break;
    case Pop3Client::Fetch::TooLarge:
        window_.AddLogLine(texts::kMessageTooLarge);
        return;
    case Pop3Client::Fetch::LineTooLong:
        window_.AddLogLine(texts::kLineTooLongSkipped);
        return;
    case Pop3Client::Fetch::Refused:
        window_.AddLogLine(texts::kRetrieveFailed);
        return;
    }
    // A memo mail whose text cannot be added now (nothing readable in it,
    // or the memo full) stays for a later run: only one whose text is in the
    // memo is remembered.
    const MemoOutcome outcome = TakeMemoMail(msg, config_.decodeMime, config_.maxMemoBytes, window_);
    if (outcome == MemoOutcome::Added || outcome == MemoOutcome::InMemo)
        Remember(n);
}

} // namespace mail
