#include "calendar/CalendarFetch.h"

#include "calendar/CalendarCache.h"
#include "calendar/CalendarReader.h"
#include "calendar/HttpFetch.h"
#include "calendar/Texts.h"
#include "jconvert/AsciiText.h"
#include "platform/FileIo.h"

#include <optional>

namespace calendar {

namespace {

std::string Named(const CalendarAddress& address)
{
    return texts::kCalendarOpen + address.name + texts::kCalendarClose;
}

// Validators longer than this are not worth keeping or sending back.
constexpr std::size_t kMaxValidator = 1024;

std::string Validator(const std::string& value)
{
    return value.size() <= kMaxValidator ? value : std::string();
}

bool IsWebPage(const HttpReply& reply)
{
    const std::string type = jconvert::AsciiLowerCopy(reply.contentType);
    if (type.starts_with("text/html") || type.starts_with("application/xhtml"))
        return true;
    const std::string_view body = jconvert::TrimBlanks(reply.body);
    return body.starts_with("<");
}

// Why a reply gives no calendar, or nothing when it gives one.
std::optional<std::string> ReplyProblem(const HttpReply& reply, const HttpRequest& request)
{
    using texts::kTooLargeEnd;
    switch (reply.failure) {
    case HttpFailure::None:
        break;
    case HttpFailure::HostNotFound:
        return texts::kHostNotFound;
    case HttpFailure::CannotConnect:
        return texts::kCannotConnect;
    case HttpFailure::Proxy:
        return texts::kProxyFailed;
    case HttpFailure::TimedOut:
        return texts::kTimedOut + std::to_string(request.timeLimit.count() / 1000) + texts::kTimedOutEnd;
    case HttpFailure::Certificate:
        return texts::kCertificate;
    case HttpFailure::Tls:
        return texts::kTlsFailed;
    case HttpFailure::TooLarge:
        return texts::kTooLarge + std::to_string(request.bodyLimit >> 20) + kTooLargeEnd;
    case HttpFailure::TooManyRedirects:
        return texts::kTooManyRedirects;
    case HttpFailure::RedirectRefused:
        return texts::kRedirectRefused + ShownUrl(reply.refusedUrl);
    case HttpFailure::NotLoopback:
        return texts::kNotLoopback;
    case HttpFailure::Other:
        return texts::kTransferFailed + std::to_string(reply.curlCode) + ": " + reply.curlText
            + texts::kTransferFailedEnd;
    }
    if (reply.status == 304)
        return std::nullopt;
    if (reply.status < 200 || reply.status > 299) {
        std::string text = texts::kHttpStatus + std::to_string(reply.status) + texts::kHttpStatusEnd;
        if (reply.status == 401 || reply.status == 403 || reply.status == 404 || reply.status == 410)
            text += texts::kCheckAddress;
        return text;
    }
    if (LooksLikeCalendar(reply.body))
        return std::nullopt;
    if (jconvert::TrimBlanks(reply.body).empty())
        return texts::kEmptyReply;
    return IsWebPage(reply) ? texts::kWebPage : texts::kNotICalendar;
}

Feed ReadFile(const CalendarAddress& address, const FetchOptions& options)
{
    Feed feed;
    try {
        feed.text = platform::ReadWholeFile(address.file, options.textLimit);
    } catch (const platform::FileIoError& error) {
        feed.problem = Named(address) + texts::kCannotRead + error.what();
        return feed;
    }
    if (!LooksLikeCalendar(feed.text)) {
        feed.text.clear();
        feed.problem = Named(address) + texts::kIs + texts::kNotReadable;
        return feed;
    }
    feed.origin = FeedOrigin::File;
    return feed;
}

} // namespace

Feed FetchCalendar(const CalendarAddress& address, const FetchOptions& options)
{
    if (address.kind == CalendarAddress::Kind::File)
        return ReadFile(address, options);

    Feed feed;
    const bool keepCopy = !options.cacheFolder.empty();
    const std::filesystem::path file = CacheFileFor(options.cacheFolder, address.url);
    std::optional<CachedCopy> cached;
    bool cacheUnreadable = false;
    try {
        if (keepCopy)
            cached = ReadCachedCopy(file, address.url, options.textLimit);
    } catch (const platform::FileIoError& error) {
        // Left as it is, never overwritten; the fetch goes on without it.
        cacheUnreadable = true;
        feed.problem = error.what();
    }
    const auto useCache = [&](const std::string& why) {
        feed.problem = Named(address) + texts::kCannotFetch + why;
        if (cached) {
            feed.text = std::move(cached->text);
            feed.origin = FeedOrigin::Cache;
            feed.problem += texts::kUsingCachedCopy;
        }
        return feed;
    };

    if (options.mode == FetchMode::CacheOnly) {
        if (cached) {
            feed.text = std::move(cached->text);
            feed.origin = FeedOrigin::Cache;
            return feed;
        }
        return cacheUnreadable ? feed : useCache(texts::kNotFetchedYet);
    }

    HttpRequest request;
    request.url = address.url;
    if (cached && LooksLikeCalendar(cached->text)) {
        request.etag = cached->etag;
        request.lastModified = cached->lastModified;
    }
    request.caFile = options.caFile;
    request.timeLimit = options.timeLimit;
    request.bodyLimit = options.textLimit;
    HttpReply reply = HttpGet(request);
    feed.requests = reply.requests;
    if (const std::optional<std::string> problem = ReplyProblem(reply, request))
        return useCache(*problem);
    if (reply.status == 304) {
        if (!cached || (request.etag.empty() && request.lastModified.empty()))
            return useCache(texts::kEmptyReply);
        feed.text = std::move(cached->text);
        feed.origin = FeedOrigin::NotModified;
        return feed;
    }

    feed.text = std::move(reply.body);
    feed.origin = FeedOrigin::Fetched;
    if (cacheUnreadable || !keepCopy)
        return feed;
    try {
        WriteCachedCopy(file, address.url,
            { feed.text, Validator(reply.etag), Validator(reply.lastModified) }, options.textLimit);
    } catch (const platform::FileIoError& error) {
        feed.problem = Named(address) + texts::kCacheNotSaved + error.what();
    }
    return feed;
}

} // namespace calendar
