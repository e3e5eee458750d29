#pragma once

// Test helpers: byte strings written as hexadecimal ("83 81 61") so that
// tables of Japanese text stay readable, and printed the same way.

#include <cctype>
#include <cstdio>
#include <string>

namespace jconvert_test {

inline std::string Hex(const char* spaced)
{
    std::string out;
    for (const char* p = spaced; *p;) {
        if (std::isspace(static_cast<unsigned char>(*p))) {
            ++p;
            continue;
        }
        out.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
        p += 2;
    }
    return out;
}

inline std::string ToHex(const std::string& bytes)
{
    std::string out;
    char buf[4];
    for (unsigned char c : bytes) {
        std::snprintf(buf, sizeof buf, out.empty() ? "%02X" : " %02X", c);
        out += buf;
    }
    return out;
}

} // namespace jconvert_test
