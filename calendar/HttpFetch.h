#pragma once

// One HTTP GET with libcurl, following redirects by hand so that every hop
// is held to the subscription address rule (CalendarAddress.h).
//
// libcurl rather than Qt Network: the transfer runs synchronously on the
// caller's thread without an event loop, which the command-line tool and a
// watcher need; it takes the proxy variables (http_proxy, https_proxy,
// no_proxy …) from the environment, decodes gzip and deflate, and its
// options say plainly what every limit is.

#include <chrono>
#include <cstdint>
#include <string>

namespace calendar {

struct HttpRequest {
    std::string url; // as FetchableUrl gives it
    // Validators of the copy at hand, sent as If-None-Match and
    // If-Modified-Since; empty: not sent.
    std::string etag;
    std::string lastModified;
    // A CA file trusted besides the system's (tests); empty: none.
    std::string caFile;
    std::chrono::milliseconds timeLimit { 30'000 }; // for all hops together
    std::uint64_t bodyLimit = 0; // decoded bytes
    int maxRedirects = 5;
};

enum class HttpFailure {
    None,
    HostNotFound,
    CannotConnect,
    Proxy,
    TimedOut,
    Certificate,
    Tls,
    TooLarge,
    TooManyRedirects,
    RedirectRefused, // refusedUrl says where to
    NotLoopback, // an http:// host that resolved outside this machine
    Other, // curlCode and curlText say what
};

struct HttpReply {
    HttpFailure failure = HttpFailure::None;
    int curlCode = 0;
    std::string curlText;
    std::string refusedUrl;
    // The last hop's answer (failure None).
    long status = 0;
    std::string body;
    std::string etag;
    std::string lastModified;
    std::string contentType;
    int requests = 0; // hops sent
};

HttpReply HttpGet(const HttpRequest& request);

} // namespace calendar
