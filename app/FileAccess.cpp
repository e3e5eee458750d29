#include "app/FileAccess.h"

#include "app/FileError.h"
#include "platform/FileIo.h"

namespace app {

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file, std::uint64_t limit)
{
    try {
        return platform::ReadFileIfExists(file, limit);
    } catch (const platform::FileIoError& error) {
        throw FileError(error.what());
    }
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view bytes)
{
    try {
        platform::ReplaceFile(file, bytes);
    } catch (const platform::FileIoError& error) {
        throw FileError(error.what());
    }
}

} // namespace app
