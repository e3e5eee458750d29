#pragma once

// The cached copy of a subscription: the last calendar text fetched, with
// the validators its server gave (ETag, Last-Modified), in one file per
// address so that a copy and its validators are always replaced together.
// The file is private to its owner, since the address it records is the
// calendar's secret.
//
// Form: "Corkpane calendar cache 1", "url: …", "etag: …",
// "last-modified: …", an empty line, then the text as fetched.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace calendar {

struct CachedCopy {
    std::string text;
    std::string etag;
    std::string lastModified;
};

// The copy's file in folder: "calendar-<FNV-1a of the URL>.cache".
std::filesystem::path CacheFileFor(const std::filesystem::path& folder, std::string_view url);

// The copy kept for url, or nothing when there is none (no file, another
// URL's file, a file in another form). A file that exists but cannot be
// read throws the file unit's FileIoError.
std::optional<CachedCopy> ReadCachedCopy(
    const std::filesystem::path& file, std::string_view url, std::uint64_t textLimit);

// Replaces the copy (creating the folder), readable by its owner only.
// Throws FileIoError.
void WriteCachedCopy(
    const std::filesystem::path& file, std::string_view url, const CachedCopy& copy, std::uint64_t textLimit);

} // namespace calendar
