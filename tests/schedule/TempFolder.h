#pragma once

#include "common/TempFolder.h"

#include <filesystem>
#include <string>

namespace schedule_test {

// A fresh folder per test with "schedule.txt" in it as the file at hand.
class TempFolder : public test_files::TempFolder {
public:
    TempFolder()
        : test_files::TempFolder("schedule")
    {
    }

    std::filesystem::path File() const { return Path() / "schedule.txt"; }
    void Write(const std::string& bytes) const { test_files::TempFolder::Write("schedule.txt", bytes); }
    std::string Read() const { return test_files::TempFolder::Read("schedule.txt"); }
};

} // namespace schedule_test
