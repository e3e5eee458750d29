#pragma once

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes. Tests, fuzz targets and benchmarks keep the
// files they make in one of these. Header-only, without GoogleTest, so that
// fuzz and bench targets can use it too; a folder that cannot be made
// throws.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace test_files {

class TempFolder {
public:
    // The folder is named "corkpane-<what>-XXXXXX" (XXXXXX made unique).
    explicit TempFolder(const std::string& what = "test")
    {
        std::string pattern
            = (std::filesystem::temp_directory_path() / ("corkpane-" + what + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder " + pattern);
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // A name inside the folder.
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Writes bytes to the file name inside the folder, making the folders on
    // the way; returns the file's full path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const
    {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + file.string());
        return file;
    }

    // The bytes of the file name inside the folder (or of a full path);
    // empty when it cannot be read.
    std::string Read(const std::filesystem::path& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary);
        return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
    }

private:
    std::filesystem::path path_;
};

} // namespace test_files
