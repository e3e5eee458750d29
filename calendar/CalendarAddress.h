#pragma once

// A calendar subscription's address: where its iCalendar text comes from.
//
// Accepted: https://…, webcal://… (the same address over https), http://…
// only to this machine (127.0.0.0/8, ::1, localhost: a local server needs
// no certificate, anything further away would be read and altered on the
// way), and a local file as an absolute path or a file:// URL. The same
// rule holds for every redirect a server answers with.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace calendar {

struct CalendarAddress {
    enum class Kind { Web, File };

    Kind kind = Kind::Web;
    // Web: the URL fetched (webcal:// already turned into https://).
    std::string url;
    // File: the file's absolute path.
    std::filesystem::path file;
    // How messages name the subscription (Shift_JIS). A web address shows
    // only its scheme and host, since the rest of a private address is its
    // secret; a caller that numbers its subscriptions may put its own name
    // here.
    std::string name;
};

// The address as typed (blanks around it ignored), or CalendarError with a
// message naming it and saying what is accepted.
CalendarAddress ReadCalendarAddress(std::string_view address);

// The URL to fetch for a web address a server redirects to: https://,
// webcal:// (as https://) or http:// to this machine; nothing for anything
// else (a file, another scheme, plain http to another host).
std::optional<std::string> FetchableUrl(std::string_view url);

// Whether a host name or address (IPv6 in brackets or not) is this
// machine: localhost, 127.0.0.0/8, ::1 (also as ::ffff:127.x.y.z).
bool IsLoopbackHost(std::string_view host);

// "scheme://host/…" for messages, without the path, query and user name.
std::string ShownUrl(std::string_view url);

} // namespace calendar
