#pragma once

// Getting a subscription's calendar text: a local file is read; a web
// address is fetched with a conditional request and its copy kept in the
// cache folder, or only the cached copy is used. A fetch that fails falls
// back to the cached copy and says so.

#include "calendar/CalendarAddress.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>

namespace calendar {

// The most calendar text taken from a server or a file: 5 MB, many years
// of a busy calendar. A server sending more is cut off there.
inline constexpr std::uint64_t kCalendarTextLimit = std::uint64_t { 5 } << 20;

enum class FetchMode {
    Network, // ask the server (conditionally, when a copy is kept)
    CacheOnly, // never touch the network: the kept copy or nothing
};

struct FetchOptions {
    // Where the copies are kept (the program passes
    // ~/.cache/corkpane/calendars); created when first written. Empty: no
    // copy is kept or used.
    std::filesystem::path cacheFolder;
    FetchMode mode = FetchMode::Network;
    // A CA file trusted besides the system's, as mail's caFile (tests).
    std::string caFile;
    std::chrono::milliseconds timeLimit { 30'000 };
    std::uint64_t textLimit = kCalendarTextLimit;
};

enum class FeedOrigin {
    Fetched, // a new text from the server, now the kept copy
    NotModified, // the server answered 304: the kept copy is current
    Cache, // the kept copy, unasked (CacheOnly) or after a failed fetch
    File, // a local file, read now
    None, // no text at all
};

struct Feed {
    // The calendar text (UTF-8 iCalendar); empty when origin is None.
    std::string text;
    FeedOrigin origin = FeedOrigin::None;
    // What went wrong, naming the subscription (Shift_JIS); empty when all
    // went well. With a cached copy used it ends by saying so.
    std::string problem;
    // HTTP requests sent (redirects count each); 0 without a fetch.
    int requests = 0;
};

// Never throws for what the network, the server or the files do: those
// are the Feed's problem.
Feed FetchCalendar(const CalendarAddress& address, const FetchOptions& options);

} // namespace calendar
