// Fuzz entry point for the IMAP response reader: the input is everything the
// server says in one session (greeting, sign-in, EXAMINE, the subject and
// body fetches, an IDLE), fed through one end of a socket pair to a client
// that runs those commands on the other. Whatever the bytes, the client must
// end with answers or a MailError, hand out subjects in ascending UID order
// from the UID asked for, keep bodies within their limits and never hold
// more than the limits allow.
#include "fuzz/FuzzRequire.h"
#include "mail/ImapClient.h"
#include "mail/MailError.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace {

// Small enough to fit a socket pair's buffer in one write.
constexpr std::size_t kMaxInput = 64 * 1024;
constexpr std::size_t kMaxBody = 2048;
constexpr std::uint32_t kFrom = 3;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxInput)
        return 0;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t sent = ::send(ends[1], data + done, size - done, MSG_NOSIGNAL);
        if (sent <= 0)
            break;
        done += static_cast<std::size_t>(sent);
    }
    // The server has said all it will: the client meets the end after it.
    ::shutdown(ends[1], SHUT_WR);

    mail::ImapClient client({ .user = "u",
        .password = "p",
        .readTimeoutMs = 1000,
        .lowSpeedWindowMs = 0,
        .maxBodyBytes = kMaxBody });
    try {
        client.ConnectOver(ends[0]);
        client.Examine("INBOX");
        std::vector<mail::ImapClient::NewMail> mails;
        std::uint32_t total = 0;
        client.FetchSubjects(kFrom, mails, total);
        fuzz::require(mails.size() <= total);
        std::vector<std::uint32_t> uids;
        for (const mail::ImapClient::NewMail& mail : mails) {
            fuzz::require(mail.uid >= kFrom && (uids.empty() || mail.uid > uids.back()));
            uids.push_back(mail.uid);
        }
        if (uids.size() > mail::ImapClient::kMaxUidsPerFetch)
            uids.resize(mail::ImapClient::kMaxUidsPerFetch);
        std::map<std::uint32_t, mail::ImapClient::Body> bodies;
        client.FetchBodies(uids, bodies);
        fuzz::require(bodies.size() == uids.size());
        for (const auto& [uid, body] : bodies) {
            std::size_t bytes = 0;
            for (const std::string& line : body.lines)
                bytes += line.size() + 2;
            fuzz::require(body.fetch == mail::ImapClient::Fetch::Ok || body.lines.empty());
            fuzz::require(bytes <= kMaxBody + mail::ImapClient::kMaxHeaderBytes + 2);
        }
        if (client.HasCapability("IDLE"))
            client.WaitForNewMail(std::chrono::steady_clock::now(), -1);
    } catch (const mail::MailError&) {
    }
    client.Disconnect();
    fuzz::require(!client.Connected());
    ::close(ends[1]);
    return 0;
}
