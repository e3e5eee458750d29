#include "calendar/CalendarCache.h"

#include "platform/FileIo.h"

#include <cstdio>

namespace calendar {

namespace {

constexpr std::string_view kFirstLine = "Corkpane calendar cache 1\n";
// Room for the header lines beside the text.
constexpr std::uint64_t kHeaderRoom = 64 << 10;

// The value of the header line "name: value" at pos, moving pos past it;
// nothing when the line there is another.
std::optional<std::string> Field(std::string_view bytes, std::size_t& pos, std::string_view name)
{
    const std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos)
        return std::nullopt;
    const std::string_view line = bytes.substr(pos, end - pos);
    if (!line.starts_with(name) || line.substr(name.size(), 2) != ": ")
        return std::nullopt;
    pos = end + 1;
    return std::string(line.substr(name.size() + 2));
}

} // namespace

std::filesystem::path CacheFileFor(const std::filesystem::path& folder, std::string_view url)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const unsigned char c : url) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    char name[40];
    std::snprintf(name, sizeof name, "calendar-%016llx.cache", static_cast<unsigned long long>(hash));
    return folder / name;
}

std::optional<CachedCopy> ReadCachedCopy(
    const std::filesystem::path& file, std::string_view url, std::uint64_t textLimit)
{
    const std::optional<std::string> bytes = platform::ReadFileIfExists(file, textLimit + kHeaderRoom);
    if (!bytes || !bytes->starts_with(kFirstLine))
        return std::nullopt;
    std::size_t pos = kFirstLine.size();
    const std::optional<std::string> storedUrl = Field(*bytes, pos, "url");
    if (!storedUrl || *storedUrl != url)
        return std::nullopt;
    const std::optional<std::string> etag = Field(*bytes, pos, "etag");
    const std::optional<std::string> lastModified = etag ? Field(*bytes, pos, "last-modified") : std::nullopt;
    if (!lastModified || bytes->compare(pos, 1, "\n") != 0)
        return std::nullopt;
    return CachedCopy { bytes->substr(pos + 1), *etag, *lastModified };
}

void WriteCachedCopy(
    const std::filesystem::path& file, std::string_view url, const CachedCopy& copy, std::uint64_t textLimit)
{
    platform::CreateFolders(file.parent_path());
    platform::FileReplacement replacement(file, textLimit + kHeaderRoom);
    replacement.OwnerOnly();
    replacement.Write(kFirstLine);
    for (const auto& [name, value] : { std::pair<std::string_view, std::string_view> { "url", url },
             { "etag", copy.etag }, { "last-modified", copy.lastModified } }) {
        std::string line = std::string(name) + ": " + std::string(value);
        // A value never spans lines (HttpFetch strips line ends already).
        std::erase_if(line, [](char c) { return c == '\n' || c == '\r'; });
        replacement.Write(line + "\n");
    }
    replacement.Write("\n");
    replacement.Write(copy.text);
    replacement.Commit();
}

} // namespace calendar
