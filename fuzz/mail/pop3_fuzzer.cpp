// Fuzz entry point for the POP3 reply reader: the input is everything the
// server says in one session (greeting, capabilities, login, STAT, header
// and message replies), fed through one end of a socket pair to a client
// that runs a whole reception on the other. Whatever the bytes, the client
// must end with a reply or a MailError, keep a kept body within its limit,
// and never hold more than the limits allow.
#include "fuzz/FuzzRequire.h"
#include "mail/MailError.h"
#include "mail/Message.h"
#include "mail/Pop3Client.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Small enough to fit a socket pair's buffer in one write.
constexpr std::size_t kMaxInput = 64 * 1024;
constexpr std::size_t kMaxBody = 2048;
constexpr int kMaxMessages = 200;

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

    mail::Pop3Client client({ .user = "u",
        .password = "p",
        .readTimeoutMs = 1000,
        .lowSpeedWindowMs = 0,
        .maxBodyBytes = kMaxBody });
    try {
        client.ConnectOver(ends[0]);
        const int count = std::min(client.CheckMessages(), kMaxMessages);
        // Whole messages for every header that names a subject starting with
        // 'm', so that both kinds of request are mixed in the window.
        auto wanted = [](int, const mail::Message& header) { return header.Subject().rfind('m', 0) == 0; };
        client.PlanFetches(count, wanted);
        for (int n = 1; n <= count; ++n) {
            mail::Message msg;
            client.RetrieveHeader(n, msg);
            if (!wanted(n, msg))
                continue;
            const mail::Pop3Client::Fetch fetched = client.Retrieve(n, msg);
            fuzz::require(fetched == mail::Pop3Client::Fetch::Ok || msg.Body().empty());
            fuzz::require(msg.Body().size() <= kMaxBody);
        }
    } catch (const mail::MailError&) {
    }
    client.Disconnect();
    fuzz::require(!client.Connected());
    ::close(ends[1]);
    return 0;
}
