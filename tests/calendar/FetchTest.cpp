// Fetching from a real HTTPS server on loopback (calendar_server.py) with
// the mail tests' certificate authority: conditional requests and the
// cached copy, redirects, gzip, limits and the answers that are no
// calendar.
#include "TestCertificates.h"
#include "calendar/CalendarFetch.h"
#include "calendar/CalendarSubscription.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using calendar::FeedOrigin;
using namespace std::chrono;

// The server for one test; it ends when its standard input closes.
class CalendarServer {
public:
    explicit CalendarServer(const mailtest::TestCertificates::Pair& pair)
    {
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        std::string args[] = { "python3", CORKPANE_CALENDAR_SERVER, pair.cert, pair.key };
        char* argv[] = { args[0].data(), args[1].data(), args[2].data(), args[3].data(), nullptr };
        if (posix_spawnp(&pid_, "python3", &actions, nullptr, argv, environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        char line[16] = {};
        for (std::size_t n = 0; n + 1 < sizeof line && ::read(out[0], line + n, 1) == 1 && line[n] != '\n';
             ++n) { }
        ::close(out[0]);
        port_ = std::atoi(line);
    }
    ~CalendarServer()
    {
        ::close(input_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }
    int Port() const { return port_; }
    std::string Url(const std::string& path) const
    {
        return "https://127.0.0.1:" + std::to_string(port_) + path;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int port_ = 0;
};

class Fetch : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(certificates_.error, "");
        ASSERT_NE(server_.Port(), 0);
        options_.cacheFolder = cache_.Path() / "calendars";
        options_.caFile = certificates_.caFile;
    }

    calendar::Feed Get(const std::string& path, calendar::FetchMode mode = calendar::FetchMode::Network)
    {
        options_.mode = mode;
        return calendar::FetchCalendar(calendar::ReadCalendarAddress(server_.Url(path)), options_);
    }

    const mailtest::TestCertificates& certificates_ = mailtest::TestCertificates::Get();
    CalendarServer server_ { certificates_.good };
    test_files::TempFolder cache_ { "calendar-cache" };
    calendar::FetchOptions options_;
};

TEST_F(Fetch, ConditionalRequestsUseTheKeptCopy)
{
    for (const char* path : { "/etag.ics", "/modified.ics" }) {
        EXPECT_EQ(Get(path, calendar::FetchMode::CacheOnly).origin, FeedOrigin::None) << path;
        const calendar::Feed first = Get(path);
        EXPECT_EQ(first.origin, FeedOrigin::Fetched) << path;
        EXPECT_EQ(first.problem, "");
        EXPECT_TRUE(first.text.starts_with("BEGIN:VCALENDAR"));
        const calendar::Feed again = Get(path);
        EXPECT_EQ(again.origin, FeedOrigin::NotModified) << path;
        EXPECT_EQ(again.requests, 1);
        EXPECT_EQ(again.text, first.text);
        const calendar::Feed offline = Get(path, calendar::FetchMode::CacheOnly);
        EXPECT_EQ(offline.origin, FeedOrigin::Cache);
        EXPECT_EQ(offline.requests, 0);
        EXPECT_EQ(offline.text, first.text);
    }
    // The copies hold the address, the calendar's secret.
    for (const auto& entry : std::filesystem::directory_iterator(options_.cacheFolder)) {
        struct stat info { };
        ASSERT_EQ(::stat(entry.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u) << entry.path();
    }
}

TEST_F(Fetch, RedirectsGzipAndTheCalendarRead)
{
    const calendar::Feed moved = Get("/redirect.ics");
    EXPECT_EQ(moved.origin, FeedOrigin::Fetched);
    EXPECT_EQ(moved.requests, 2);
    EXPECT_EQ(Get("/gzip.ics").origin, FeedOrigin::Fetched);

    const calendar::SubscriptionResult result
        = calendar::LoadSubscription(calendar::ReadCalendarAddress(server_.Url("/gzip.ics")), options_,
            { 2026y / 3 / 2, 3, "Asia/Tokyo" });
    ASSERT_EQ(result.occurrences.size(), 1u);
    EXPECT_EQ(result.occurrences[0].summary, Sjis("配信された予定"));
    EXPECT_EQ(result.occurrences[0].start, minutes { 10 * 60 });
    EXPECT_EQ(result.eventCount, 1u);
    EXPECT_TRUE(result.problems.empty());
}

TEST_F(Fetch, FailuresNameTheSubscriptionAndFallBack)
{
    const calendar::Feed kept = Get("/etag.ics");
    ASSERT_EQ(kept.origin, FeedOrigin::Fetched);
    const struct {
        const char* path;
        const char* says;
    } rows[] = {
        { "/loop.ics", "転送が多すぎます" },
        { "/to-plain-http", "転送先のアドレスは使えません" },
        { "/huge.ics", "大きすぎます (5 MB まで)" },
        { "/signin", "ウェブページ (サインイン画面など)" },
        { "/error", "HTTP 500" },
        { "/missing.ics", "HTTP 404" },
    };
    for (const auto& row : rows) {
        const calendar::Feed feed = Get(row.path);
        const std::string problem = test_text::Utf8(feed.problem);
        EXPECT_NE(problem.find("カレンダー「https://127.0.0.1:" + std::to_string(server_.Port())
                      + "/…」を取得できません。"),
            std::string::npos)
            << problem;
        EXPECT_NE(problem.find(row.says), std::string::npos) << problem;
        EXPECT_EQ(feed.origin, FeedOrigin::None) << row.path; // another address: no copy of its own
    }
    EXPECT_EQ(Get("/loop.ics").requests, 6);

    // A copy kept from before stands in when its address fails.
    options_.caFile.clear();
    const calendar::Feed untrusted = Get("/etag.ics");
    EXPECT_EQ(untrusted.origin, FeedOrigin::Cache);
    EXPECT_EQ(untrusted.text, kept.text);
    EXPECT_NE(test_text::Utf8(untrusted.problem).find("証明書を確認できません。"), std::string::npos);
    EXPECT_NE(test_text::Utf8(untrusted.problem).find("前回取得した内容を使います。"), std::string::npos);
}

TEST_F(Fetch, CertificateForAnotherNameIsRefused)
{
    CalendarServer wrong(certificates_.wrongName);
    options_.mode = calendar::FetchMode::Network;
    const calendar::Feed feed
        = calendar::FetchCalendar(calendar::ReadCalendarAddress(wrong.Url("/etag.ics")), options_);
    EXPECT_EQ(feed.origin, FeedOrigin::None);
    EXPECT_NE(test_text::Utf8(feed.problem).find("証明書を確認できません"), std::string::npos)
        << feed.problem;
}

} // namespace
