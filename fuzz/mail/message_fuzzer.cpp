// Fuzz entry point for the message parser and the subject handling of a
// reception run, on arbitrary reply text split into lines. The body may only
// hold whole lines, each ended by CR LF, and never more than was sent.
#include "mail/Message.h"
#include "mail/ReceiveRun.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t lf = input.find('\n', start);
        if (lf == std::string::npos)
            lf = input.size();
        std::size_t stop = lf;
        if (stop > start && input[stop - 1] == '\r')
            --stop;
        lines.push_back(input.substr(start, stop - start));
        start = lf + 1;
    }

    mail::Message msg;
    msg.LoadHeaders(lines);
    const std::string subject = mail::DecodeSubject(msg.Subject());
    (void)mail::IsMemoSubject(subject, "\x83\x81\x83\x82", "memo");
    msg.LoadMessage(lines);
    // An unreadable body is reported, never half taken.
    if (!msg.BodyError().empty() && !msg.Body().empty())
        std::abort();
    const std::string& body = msg.Body();
    if (!body.empty() && (body.size() < 2 || body.compare(body.size() - 2, 2, "\r\n") != 0))
        std::abort();
    if (body.size() > input.size() + 2 * lines.size())
        std::abort();
    return 0;
}
