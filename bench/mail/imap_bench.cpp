// The IMAP reception pass and the IDLE wait against a server the caller
// started (bench/mail/imap_bench.py starts Dovecot and the delay proxy).
//
//   imap_bench pass PORT USER PASSWORD RUNS
//     RUNS times: a first pass (empty memory, empty memo) and a pass with
//     nothing new (the memory the first returned); prints each time. RUNS 0:
//     one first pass alone.
//   imap_bench push PORT USER PASSWORD MAILDIR COUNT
//     Holds the folder in IDLE; COUNT times a mail is delivered into MAILDIR
//     (written to tmp/, moved to new/) and the time until the wait returns
//     is taken; then the CPU used by a 5 s wait with nothing arriving, and
//     the largest resident size.
#include "jconvert/cp932.h"
#include "mail/ImapReceive.h"
#include "mail/MailError.h"
#include "mail/TextReceiveWindow.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double CpuMs()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

mail::ReceiveConfig Config(char** argv)
{
    mail::ReceiveConfig config;
    config.host = "127.0.0.1";
    config.port = std::atoi(argv[2]);
    config.user = argv[3];
    config.password = argv[4];
    config.keyword1 = jconvert::Utf8ToCp932("メモ");
    config.keyword2 = jconvert::Utf8ToCp932("めも");
    return config;
}

int Pass(char** argv)
{
    const mail::ReceiveConfig config = Config(argv);
    const int runs = std::atoi(argv[5]);
    for (int run = 0; run < std::max(runs, 1); ++run) {
        mail::TextReceiveWindow window;
        auto start = Clock::now();
        mail::ImapReceive first(config, "", {}, window);
        first.Run();
        const double firstMs = Ms(Clock::now() - start);
        const std::size_t lines = std::count(window.memo().begin(), window.memo().end(), '\n');
        if (runs == 0) {
            std::printf("one pass %.1f ms (memo lines %zu)\n", firstMs, lines);
            return 0;
        }
        start = Clock::now();
        mail::ImapReceive again(config, "", first.Memory(), window);
        again.Run();
        const double againMs = Ms(Clock::now() - start);
        std::printf("first %.1f ms (memo lines %zu)  nothing-new %.1f ms\n", firstMs, lines, againMs);
    }
    return 0;
}

int Push(char** argv)
{
    const mail::ReceiveConfig config = Config(argv);
    const std::string maildir = argv[5];
    const int count = std::atoi(argv[6]);
    struct stat owner { };
    ::stat(maildir.c_str(), &owner);
    mail::TextReceiveWindow window;
    mail::ImapReceive receive(config, "", {}, window);
    receive.Run(true);
    std::vector<double> latencies;
    for (int i = 0; i < count; ++i) {
        Clock::time_point delivered;
        std::thread delivery([&, i] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const std::string name = "push" + std::to_string(i) + ".bench";
            const std::string written = maildir + "/tmp/" + name;
            std::ofstream(written, std::ios::binary)
                << "Subject: =?ISO-2022-JP?B?GyRCJWElYhsoQg==?=\r\n\r\npushed " << i << "\r\n";
            (void)::chown(written.c_str(), owner.st_uid, owner.st_gid);
            delivered = Clock::now();
            std::rename(written.c_str(), (maildir + "/new/" + name).c_str());
        });
        const auto wake = receive.WaitForNewMail(Clock::now() + std::chrono::seconds(30), -1);
        const auto woke = Clock::now();
        delivery.join();
        if (wake != mail::ImapClient::Wake::NewMail) {
            std::fprintf(stderr, "no news of mail %d\n", i);
            return 1;
        }
        latencies.push_back(Ms(woke - delivered));
        receive.Run(true);
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("push: median %.1f ms, min %.1f, max %.1f (%d mails)\n", latencies[latencies.size() / 2],
        latencies.front(), latencies.back(), count);
    const double cpu = CpuMs();
    receive.WaitForNewMail(Clock::now() + std::chrono::seconds(5), -1);
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::ifstream status("/proc/self/status");
    std::string line;
    std::string resident = "?";
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            resident = line.substr(6);
    }
    std::printf("idle 5 s: CPU %.2f ms; resident while idling%s, largest %ld KB\n", CpuMs() - cpu,
        resident.c_str(), usage.ru_maxrss);
    const std::string memo = window.memo();
    return memo.find("pushed " + std::to_string(count - 1)) == std::string::npos ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    try {
        if (mode == "pass" && argc == 6)
            return Pass(argv);
        if (mode == "push" && argc == 7)
            return Push(argv);
    } catch (const mail::MailError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fprintf(stderr,
        "usage: imap_bench pass PORT USER PASSWORD RUNS\n"
        "       imap_bench push PORT USER PASSWORD MAILDIR COUNT\n");
    return 2;
}
