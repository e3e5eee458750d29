#include "mail/ImapReceive.h"

#include "jconvert/cp932.h"
#include "mail/Message.h"
#include "mail/ReceiveRun.h"
#include "mail/ReceiveWindow.h"
#include "mail/ReceptionSteps.h"
#include "mail/Texts.h"

#include <exception>
#include <limits>

namespace mail {

ImapReceive::ImapReceive(ReceiveConfig config, std::string folder, ImapMemory memory, ReceiveWindow& window)
    : config_(std::move(config))
    , folder_(folder.empty() ? "INBOX" : std::move(folder))
    , memory_(memory)
    , window_(window)
    , client_(config_, [this](Pop3Status status) { window_.AddLogLine(StatusLogLine(status)); })
{
}

ImapReceive::~ImapReceive()
{
    client_.Disconnect();
}

void ImapReceive::Run(bool keepOpen)
{
    RunPass(
        window_,
        [this] {
            client_.StartRunClock();
            if (!client_.Connected())
                Open();
            ReceiveNewMail();
        },
        [this, keepOpen](bool failed) {
            if (failed || !keepOpen)
                client_.Disconnect();
        });
}

void ImapReceive::Open()
{
    ConnectWaitingForNetwork([this] { client_.Connect(); }, config_.networkWaitMs, window_);
    opened_ = client_.Examine(folder_);
    fresh_ = true;
    window_.AddLogLine(texts::kFolderOpened + folder_ + texts::kFolderOpenedEnd);
    // UIDs of another UIDVALIDITY name other messages; without one, they
    // hold only for this connection.
    if (memory_.uidValidity != opened_.uidValidity || opened_.uidValidity == 0) {
        if (memory_.uidValidity != 0)
            window_.AddLogLine(texts::kUidValidityChanged);
        memory_ = { opened_.uidValidity, 0 };
    }
}

ImapClient::Wake ImapReceive::WaitForNewMail(std::chrono::steady_clock::time_point deadline, int wakeFd)
{
    fresh_ = false;
    return client_.WaitForNewMail(deadline, wakeFd);
}

void ImapReceive::ReceiveNewMail()
{
    blocked_ = false;
    std::vector<ImapClient::NewMail> mails;
    std::uint32_t total = 0;
    std::uint32_t resume = 0;
    const bool none = memory_.highestUid == std::numeric_limits<std::uint32_t>::max()
        || (fresh_
            && (opened_.messages == 0
                || (opened_.uidNext != 0 && memory_.highestUid + 1 >= opened_.uidNext)));
    // A folder just opened says by its UIDNEXT whether anything is new.
    if (!none)
        resume = client_.FetchSubjects(memory_.highestUid + 1, mails, total);
    fresh_ = false;
    window_.AddLogLine(texts::kMailCount + std::to_string(total));
    window_.AddLogLine(texts::kSeparator);
    for (;;) {
        ReceiveMails(mails);
        if (resume == 0)
            return;
        // More subjects than one command's answer may hold: the rest.
        mails.clear();
        std::uint32_t again = 0;
        resume = client_.FetchSubjects(resume, mails, again);
    }
}

void ImapReceive::ReceiveMails(const std::vector<ImapClient::NewMail>& mails)
{
    std::vector<std::string> subjects;
    std::vector<bool> memo;
    subjects.reserve(mails.size());
    memo.reserve(mails.size());
    for (const ImapClient::NewMail& mail : mails) {
        subjects.push_back(ShownSubject(mail.subject, config_.decodeMime));
        memo.push_back(IsMemoSubject(subjects.back(), config_.keyword1, config_.keyword2));
    }
    std::map<std::uint32_t, ImapClient::Body> bodies;
    for (std::size_t i = 0; i < mails.size(); ++i) {
        const std::uint32_t uid = mails[i].uid;
        window_.AddLogLine(texts::kSubject + subjects[i]);
        bool done = true;
        if (memo[i]) {
            auto found = bodies.find(uid);
            if (found == bodies.end() || found->second.fetch == ImapClient::Fetch::NotHeld) {
                // The bodies of this memo mail and the ones after it, in one
                // command.
                std::vector<std::uint32_t> wanted;
                for (std::size_t k = i; k < mails.size() && wanted.size() < ImapClient::kMaxUidsPerFetch;
                     ++k) {
                    if (memo[k])
                        wanted.push_back(mails[k].uid);
                }
                bodies.clear();
                client_.FetchBodies(wanted, bodies);
                found = bodies.find(uid);
            }
            done = ReceiveMemoMail(found->second);
            bodies.erase(found);
        }
        window_.AddLogLine(texts::kSeparator);
        blocked_ = blocked_ || !done;
        if (!blocked_ && uid > memory_.highestUid)
            memory_.highestUid = uid;
    }
}

bool ImapReceive::ReceiveMemoMail(ImapClient::Body& body)
{
    switch (body.fetch) {
    case ImapClient::Fetch::Ok:
        break;
    case ImapClient::Fetch::TooLarge:
        window_.AddLogLine(texts::kMessageTooLarge);
        return true;
    case ImapClient::Fetch::LineTooLong:
        window_.AddLogLine(texts::kLineTooLongSkipped);
        return true;
    case ImapClient::Fetch::Refused:
    case ImapClient::Fetch::NotHeld:
        window_.AddLogLine(texts::kRetrieveFailed);
        return false;
    }
    Message msg;
    msg.LoadMessage(body.lines);
    body.lines.clear();
    return TakeMemoMail(msg, config_.decodeMime, config_.maxMemoBytes, window_) != MemoOutcome::MemoFull;
}

} // namespace mail
