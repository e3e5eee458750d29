#include "calendar/CalendarAddress.h"

#include "calendar/CalendarError.h"
#include "calendar/Texts.h"
#include "jconvert/AsciiText.h"
#include "platform/FileIo.h"

#include <arpa/inet.h>
#include <cstring>
#include <curl/curl.h>
#include <memory>
#include <netinet/in.h>

namespace calendar {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

// One part of a parsed URL; empty when it has none.
std::string Part(CURLU* url, CURLUPart part, unsigned flags = 0)
{
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK || text == nullptr)
        return {};
    std::string out(text);
    curl_free(text);
    return out;
}

// The URL parsed by libcurl, any scheme, or nothing when it is no URL.
UrlHandle ParseUrl(std::string_view text)
{
    UrlHandle url(curl_url());
    if (!url)
        return nullptr;
    const std::string copy(text);
    if (curl_url_set(url.get(), CURLUPART_URL, copy.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return nullptr;
    return url;
}

std::string Named(const std::string& name)
{
    return texts::kCalendarOpen + name + texts::kCalendarClose;
}

[[noreturn]] void Refuse(const std::string& name, const std::string& why)
{
    throw CalendarError(Named(name) + texts::kAddressRefused + why);
}

// Whether text begins with a URL scheme and "://".
bool HasScheme(std::string_view text)
{
    const std::size_t colon = text.find("://");
    if (colon == std::string_view::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
            return false;
    }
    return true;
}

} // namespace

bool IsLoopbackHost(std::string_view host)
{
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const std::string lower = jconvert::AsciiLowerCopy(host);
    if (lower == "localhost" || lower == "localhost.")
        return true;
    in_addr v4 {};
    if (::inet_pton(AF_INET, lower.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    if (::inet_pton(AF_INET6, lower.c_str(), &v6) == 1) {
        if (IN6_IS_ADDR_LOOPBACK(&v6))
            return true;
        return IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127;
    }
    return false;
}

std::string ShownUrl(std::string_view url)
{
    const UrlHandle parsed = ParseUrl(url);
    if (!parsed)
        return jconvert::Utf8ToCp932(url.substr(0, url.find_first_of("/?#", url.find("://") + 3)));
    std::string shown = Part(parsed.get(), CURLUPART_SCHEME) + "://" + Part(parsed.get(), CURLUPART_HOST);
    const std::string port = Part(parsed.get(), CURLUPART_PORT);
    if (!port.empty())
        shown += ":" + port;
    const std::string path = Part(parsed.get(), CURLUPART_PATH);
    shown += path.empty() || path == "/" ? "/" : "/…";
    return jconvert::Utf8ToCp932(shown);
}

std::optional<std::string> FetchableUrl(std::string_view text)
{
    const UrlHandle url = ParseUrl(text);
    if (!url)
        return std::nullopt;
    const std::string scheme = jconvert::AsciiLowerCopy(Part(url.get(), CURLUPART_SCHEME));
    if (scheme == "webcal" || scheme == "webcals") {
        if (curl_url_set(url.get(), CURLUPART_SCHEME, "https", 0) != CURLUE_OK)
            return std::nullopt;
    } else if (scheme == "http") {
        if (!IsLoopbackHost(Part(url.get(), CURLUPART_HOST)))
            return std::nullopt;
    } else if (scheme != "https") {
        return std::nullopt;
    }
    if (Part(url.get(), CURLUPART_HOST).empty())
        return std::nullopt;
    const std::string out = Part(url.get(), CURLUPART_URL);
    return out.empty() ? std::nullopt : std::optional<std::string>(out);
}

CalendarAddress ReadCalendarAddress(std::string_view typed)
{
    const std::string_view text = jconvert::TrimBlanks(typed);
    if (text.empty())
        throw CalendarError(texts::kAddressEmpty);
    CalendarAddress address;
    if (text.front() == '/') {
        address.kind = CalendarAddress::Kind::File;
        address.file = std::filesystem::path(std::string(text)).lexically_normal();
        address.name = platform::PathText(address.file);
        return address;
    }
    if (!HasScheme(text))
        Refuse(jconvert::Utf8ToCp932(text), texts::kAddressKinds);

    const std::string scheme = jconvert::AsciiLowerCopy(text.substr(0, text.find("://")));
    if (scheme == "file") {
        const UrlHandle url = ParseUrl(text);
        const std::string path = url ? Part(url.get(), CURLUPART_PATH, CURLU_URLDECODE) : std::string();
        // libcurl takes file://localhost/ as this machine and refuses other
        // hosts; a decoded NUL would cut the path short.
        if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos)
            Refuse(jconvert::Utf8ToCp932(text), texts::kAddressFileHost);
        address.kind = CalendarAddress::Kind::File;
        address.file = std::filesystem::path(path).lexically_normal();
        address.name = platform::PathText(address.file);
        return address;
    }
    address.name = ShownUrl(text);
    const std::optional<std::string> url = FetchableUrl(text);
    if (!url)
        Refuse(address.name, scheme == "http" ? texts::kAddressPlainHttp : texts::kAddressKinds);
    address.url = *url;
    return address;
}

} // namespace calendar
