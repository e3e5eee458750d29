// Fuzz entry point for the schedule file: any file content loads into at
// least 20 entries, and after one save and load the file
// reaches a fixed point (saving and loading again changes nothing).
#include "fuzz/FuzzRequire.h"
#include "schedule/TScheduleTable.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

using fuzz::require;

std::filesystem::path Folder()
{
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path()
            / ("corkpane-schedule-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

std::string ReadBack(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

// Loads the file, checks the entries, saves them and returns the saved
// bytes.
std::string LoadAndSave(const std::filesystem::path& folder)
{
    schedule::TScheduleTable table(folder / schedule::TScheduleTable::kFileName);
    require(table.LoadFailure() == nullptr);
    require(table.Entries().size() >= 20);
    table.SetModified(true);
    table.Save();
    return ReadBack(folder / schedule::TScheduleTable::kFileName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path& folder = Folder();
    std::ofstream(folder / schedule::TScheduleTable::kFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    LoadAndSave(folder);
    const std::string second = LoadAndSave(folder);
    require(LoadAndSave(folder) == second);
    return 0;
}
