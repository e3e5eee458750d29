#include "calendar/HttpFetch.h"

#include "calendar/CalendarAddress.h"

#include <curl/curl.h>
#include <memory>

namespace calendar {

namespace {

using namespace std::chrono;

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// What a transfer's callbacks share.
struct Transfer {
    std::string body;
    std::uint64_t limit = 0;
    bool overLimit = false;
    bool loopbackOnly = false;
    bool notLoopback = false;
};

std::size_t Receive(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > transfer->limit) {
        // Returning less than was given stops the transfer.
        transfer->overLimit = true;
        return 0;
    }
    transfer->body.append(data, bytes);
    return bytes;
}

// Called once connected, before the request goes out: a plain http hop
// must have reached this machine, whatever the name resolved to.
int BeforeRequest(void* user, char* peer, char*, int, int)
{
    auto* transfer = static_cast<Transfer*>(user);
    if (transfer->loopbackOnly && !IsLoopbackHost(peer ? peer : "")) {
        transfer->notLoopback = true;
        return CURL_PREREQFUNC_ABORT;
    }
    return CURL_PREREQFUNC_OK;
}

std::string HeaderValue(CURL* curl, const char* name)
{
    curl_header* header = nullptr;
    if (curl_easy_header(curl, name, 0, CURLH_HEADER, -1, &header) != CURLHE_OK || header == nullptr)
        return {};
    std::string value = header->value ? header->value : "";
    // The value goes back out in a request header and into the cache's
    // header lines: no line ends.
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
    return value;
}

HttpFailure FailureOf(CURLcode code, const Transfer& transfer)
{
    if (transfer.overLimit || code == CURLE_FILESIZE_EXCEEDED)
        return HttpFailure::TooLarge;
    if (transfer.notLoopback)
        return HttpFailure::NotLoopback;
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return HttpFailure::HostNotFound;
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::CannotConnect;
    case CURLE_COULDNT_RESOLVE_PROXY:
        return HttpFailure::Proxy;
    case CURLE_OPERATION_TIMEDOUT:
        return HttpFailure::TimedOut;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
        return HttpFailure::Certificate;
    case CURLE_SSL_CONNECT_ERROR:
        return HttpFailure::Tls;
    default:
        return HttpFailure::Other;
    }
}

void GlobalInit()
{
    static const bool done = (curl_global_init(CURL_GLOBAL_DEFAULT), true);
    (void)done;
}

} // namespace

HttpReply HttpGet(const HttpRequest& request)
{
    GlobalInit();
    HttpReply reply;
    const std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) {
        reply.failure = HttpFailure::Other;
        reply.curlCode = CURLE_OUT_OF_MEMORY;
        reply.curlText = curl_easy_strerror(CURLE_OUT_OF_MEMORY);
        return reply;
    }
    std::unique_ptr<curl_slist, ListDeleter> headers;
    const auto addHeader = [&](const std::string& line) {
        if (curl_slist* list = curl_slist_append(headers.get(), line.c_str())) {
            (void)headers.release();
            headers.reset(list);
        }
    };
    addHeader("Accept: text/calendar, */*;q=0.5");
    if (!request.etag.empty())
        addHeader("If-None-Match: " + request.etag);
    if (!request.lastModified.empty())
        addHeader("If-Modified-Since: " + request.lastModified);

    Transfer transfer;
    transfer.limit = request.bodyLimit;
    CURL* h = curl.get();
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
    // Every encoding libcurl can decode (gzip, deflate, …); the limit
    // counts the decoded bytes, so a small compressed bomb stops early too.
    curl_easy_setopt(h, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(request.bodyLimit));
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_USERAGENT, "Corkpane");
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &Receive);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, &BeforeRequest);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &transfer);
    // The extra CA file takes the bundle's place; the system's hashed CA
    // folder (libcurl's CA path) is still searched.
    if (!request.caFile.empty())
        curl_easy_setopt(h, CURLOPT_CAINFO, request.caFile.c_str());

    const auto deadline = steady_clock::now() + request.timeLimit;
    std::string url = request.url;
    for (int hop = 0;; ++hop) {
        const milliseconds left = duration_cast<milliseconds>(deadline - steady_clock::now());
        if (left <= milliseconds::zero()) {
            reply.failure = HttpFailure::TimedOut;
            return reply;
        }
        transfer.body.clear();
        transfer.overLimit = false;
        transfer.notLoopback = false;
        transfer.loopbackOnly = url.starts_with("http://");
        curl_easy_setopt(h, CURLOPT_URL, url.c_str());
        curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(left.count()));
        // A server on this machine is reached directly, never through a
        // proxy; other hops take the proxy variables (nullptr: from the
        // environment).
        curl_easy_setopt(h, CURLOPT_NOPROXY, transfer.loopbackOnly ? "*" : nullptr);
        ++reply.requests;
        const CURLcode code = curl_easy_perform(h);
        if (code != CURLE_OK) {
            reply.failure = FailureOf(code, transfer);
            reply.curlCode = code;
            reply.curlText = curl_easy_strerror(code);
            return reply;
        }
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        const bool redirect
            = status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
        char* location = nullptr;
        curl_easy_getinfo(h, CURLINFO_REDIRECT_URL, &location);
        if (redirect && location != nullptr) {
            if (hop == request.maxRedirects) {
                reply.failure = HttpFailure::TooManyRedirects;
                return reply;
            }
            const std::optional<std::string> next = FetchableUrl(location);
            if (!next) {
                reply.failure = HttpFailure::RedirectRefused;
                reply.refusedUrl = location;
                return reply;
            }
            url = *next;
            continue;
        }
        reply.status = status;
        reply.body = std::move(transfer.body);
        reply.etag = HeaderValue(h, "ETag");
        reply.lastModified = HeaderValue(h, "Last-Modified");
        char* type = nullptr;
        curl_easy_getinfo(h, CURLINFO_CONTENT_TYPE, &type);
        reply.contentType = type ? type : "";
        return reply;
    }
}

} // namespace calendar
