// Fuzz entry point for the schedule file: any file content loads into at
// least 20 entries, and after one save and load the file
// reaches a fixed point (saving and loading again changes nothing).
#include "common/TempFolder.h"
#include "fuzz/FuzzRequire.h"
#include "schedule/TScheduleTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using fuzz::require;

// One folder for the whole run, removed when the process ends.
const test_files::TempFolder& Folder()
{
    static const test_files::TempFolder folder("schedule-fuzz");
    return folder;
}

// Loads the file, checks the entries, saves them and returns the saved
// bytes.
std::string LoadAndSave(const test_files::TempFolder& folder)
{
    schedule::TScheduleTable table(folder.Path() / schedule::TScheduleTable::kFileName);
    require(table.LoadFailure() == nullptr);
    require(table.Entries().size() >= 20);
    table.SetModified(true);
    table.Save();
    return folder.Read(schedule::TScheduleTable::kFileName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const test_files::TempFolder& folder = Folder();
    folder.Write(
        schedule::TScheduleTable::kFileName, std::string_view(reinterpret_cast<const char*>(data), size));
    LoadAndSave(folder);
    const std::string second = LoadAndSave(folder);
    require(LoadAndSave(folder) == second);
    return 0;
}
