// Decoding speed of memo mails read as MIME: the subject's encoded-words and
// the memo body (part search, transfer decoding, charset, flowed text, HTML)
// of each file given, over and over for about a second. Prints one line:
// "<messages decoded> <nanoseconds per message>". mime_vs_email.py runs it
// beside Python's email package on the same files.
#include "jconvert/TextLines.h"
#include "jconvert/encoded_words.h"
#include "mail/Message.h"
#include "mail/MimeBody.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::vector<std::string>> messages;
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        messages.push_back(jconvert::SplitLines<std::string>(bytes.str()));
    }
    if (messages.empty()) {
        std::fprintf(stderr, "usage: mime_bench FILE...\n");
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    std::size_t decoded = 0;
    std::size_t checksum = 0;
    const auto start = Clock::now();
    auto elapsed = Clock::duration::zero();
    while (elapsed < std::chrono::seconds(1)) {
        for (const auto& lines : messages) {
            mail::Message msg;
            msg.LoadHeaders(lines);
            checksum += jconvert::DecodeEncodedWords(msg.Subject()).size();
            checksum += mail::DecodeMimeBody(lines).text.size();
            ++decoded;
        }
        elapsed = Clock::now() - start;
    }
    const double ns
        = std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(decoded);
    std::printf("%zu %.1f %zu\n", decoded, ns, checksum);
    return 0;
}
