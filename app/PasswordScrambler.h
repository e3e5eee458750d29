#pragma once

// Scrambling of the stored POP3 password. The settings file must not show the
// password in clear, and a hand-edited value should be noticed, so the value
// is a one-byte XOR mask, standard Base64 and a two-letter checksum. This is
// obfuscation, not encryption. The unit depends on nothing else in the
// program.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace app {

// Receives a diagnostic text that the window shows in a simple OK box; the
// operation carries on after it returns.
using MessageCallback = std::function<void(const std::string& text)>;

// Longest password the scheme stores, and longest stored value it accepts.
inline constexpr std::size_t kMaxPasswordLength = 296;
inline constexpr std::size_t kMaxScrambledLength = 398;

// Returns the stored form: two checksum letters and the Base64 text of the
// masked block (length marker, password, fill spaces). Returns the empty
// string for an empty password, for one longer than kMaxPasswordLength and
// for one holding a byte outside 1..127. Each mask byte in the password is
// reported as "char29" through message.
std::string ScramblePassword(std::string_view password, const MessageCallback& message = {});

// Returns the password a stored value holds, or the empty string when the
// value fails its checksum or lies outside the scheme's limits. Never throws.
std::string UnscramblePassword(std::string_view stored, const MessageCallback& message = {});

// True when the stored value gives the password back exactly: at most
// kMaxPasswordLength bytes, each of 1..127. The empty password is stored as
// no value.
bool ScrambleKeepsPassword(std::string_view password);

// The two checksum letters over text: S = sum of i * byte[i]; the letters
// are 'a' + S mod 26 and 'a' + (S div 26) mod 26.
std::string PasswordChecksum(std::string_view text);

} // namespace app
