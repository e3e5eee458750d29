// Which subscription addresses are accepted, and how they are named.
#include "calendar/CalendarAddress.h"
#include "calendar/CalendarError.h"
#include "common/SjisLiteral.h"

#include <gtest/gtest.h>

namespace {

using calendar::CalendarAddress;

TEST(Address, AcceptedAndRefused)
{
    struct Row {
        const char* typed;
        const char* url; // nullptr: a file; "": refused
        const char* nameOrFile; // the name, the file, or a part of the refusal
    };
    const Row rows[] = {
        { " https://calendar.google.com/calendar/ical/me%40gmail.com/private-abc/basic.ics\n",
            "https://calendar.google.com/calendar/ical/me%40gmail.com/private-abc/basic.ics",
            "https://calendar.google.com/…" },
        { "webcal://p12-caldav.icloud.com/published/2/SECRET",
            "https://p12-caldav.icloud.com/published/2/SECRET", "webcal://p12-caldav.icloud.com/…" },
        { "http://127.0.0.1:8080/cal.ics", "http://127.0.0.1:8080/cal.ics", "http://127.0.0.1:8080/…" },
        { "http://localhost/", "http://localhost/", "http://localhost/" },
        { "http://[::1]:81/x", "http://[::1]:81/x", "http://[::1]:81/…" },
        { "/home/u/予定.ics", nullptr, "/home/u/予定.ics" },
        { "file:///home/u/a%20b.ics", nullptr, "/home/u/a b.ics" },
        { "file://localhost/tmp/../x.ics", nullptr, "/x.ics" },
        { "http://calendar.example.com/x.ics", "", "暗号化しない http:// は" },
        { "http://127.0.0.1.example.com/x.ics", "", "暗号化しない http:// は" },
        { "ftp://example.com/x.ics", "", "https:// か webcal://" },
        { "calendar.ics", "", "https:// か webcal://" },
        { "file://server/share/x.ics", "", "このコンピューターのファイル" },
        { "https://", "", "https:// か webcal://" },
    };
    for (const Row& row : rows) {
        if (row.url && *row.url == '\0') {
            try {
                calendar::ReadCalendarAddress(row.typed);
                ADD_FAILURE() << row.typed << " was accepted";
            } catch (const calendar::CalendarError& e) {
                EXPECT_NE(test_text::Utf8(e.what()).find(row.nameOrFile), std::string::npos) << e.what();
                EXPECT_EQ(test_text::Utf8(e.what()).rfind("カレンダー「", 0), 0u) << e.what();
            }
            continue;
        }
        const CalendarAddress address = calendar::ReadCalendarAddress(row.typed);
        if (row.url == nullptr) {
            EXPECT_EQ(address.kind, CalendarAddress::Kind::File) << row.typed;
            EXPECT_EQ(address.file, row.nameOrFile);
        } else {
            EXPECT_EQ(address.kind, CalendarAddress::Kind::Web) << row.typed;
            EXPECT_EQ(address.url, row.url);
            EXPECT_EQ(test_text::Utf8(address.name), row.nameOrFile);
        }
    }
    EXPECT_THROW(calendar::ReadCalendarAddress("  "), calendar::CalendarError);
}

TEST(Address, RedirectTargetsAndLoopback)
{
    EXPECT_EQ(calendar::FetchableUrl("webcal://a.example/x"), "https://a.example/x");
    EXPECT_EQ(calendar::FetchableUrl("http://127.5.0.1/x"), "http://127.5.0.1/x");
    for (const char* refused : { "http://10.0.0.1/x", "file:///etc/passwd", "gopher://a/", "http:///x" })
        EXPECT_FALSE(calendar::FetchableUrl(refused)) << refused;
    for (const char* host : { "LOCALHOST", "127.255.255.254", "::1", "[::ffff:127.0.0.1]" })
        EXPECT_TRUE(calendar::IsLoopbackHost(host)) << host;
    for (const char* host : { "128.0.0.1", "::2", "localhost.example", "" })
        EXPECT_FALSE(calendar::IsLoopbackHost(host)) << host;
}

} // namespace
