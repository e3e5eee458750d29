#pragma once

// glibc iconv as a reference converter for the codec's tests.

#include <iconv.h>
#include <optional>
#include <string>

namespace jconvert_test {

class Iconv {
public:
    Iconv(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (ok())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // The converted text (a few characters at most), or nothing when iconv
    // has no mapping for it.
    std::optional<std::string> operator()(const std::string& in)
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string src = in;
        char out[64];
        char* inPtr = src.data();
        char* outPtr = out;
        std::size_t inLeft = src.size();
        std::size_t outLeft = sizeof out;
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        // Stateful encodings (JIS) end with their closing escape.
        if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
            return std::nullopt;
        return std::string(out, static_cast<std::size_t>(outPtr - out));
    }

private:
    iconv_t cd_;
};

} // namespace jconvert_test
