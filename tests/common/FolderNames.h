#pragma once

// The names in a folder, sorted, so that tests can compare what a save left
// behind (temporary files, copies) with what was there before.

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace test_files {

inline std::vector<std::string> FolderNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace test_files
