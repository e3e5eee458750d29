#include "app/PasswordScrambler.h"

#include <cstdint>

namespace app {
namespace {

constexpr unsigned char kMask = 0x1D;
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void ReportMaskByte(const MessageCallback& message)
{
    if (message)
        message("char" + std::to_string(kMask));
}

// Block length is always a multiple of three, so no padding is produced.
std::string EncodeBase64(std::string_view block)
{
    std::string out;
    out.reserve(block.size() / 3 * 4);
    for (std::size_t i = 0; i + 2 < block.size(); i += 3) {
        const std::uint32_t v = (static_cast<unsigned char>(block[i]) << 16)
            | (static_cast<unsigned char>(block[i + 1]) << 8) | static_cast<unsigned char>(block[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    return out;
}

// Every character outside the alphabet, "=" included, counts as 0, as the
// stored values have always been read.
unsigned SixBits(char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned>(c - 'A');
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned>(c - 'a' + 26);
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0' + 52);
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return 0;
}

std::string DecodeBase64(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i + 3 < text.size(); i += 4) {
        const std::uint32_t v = (SixBits(text[i]) << 18) | (SixBits(text[i + 1]) << 12)
            | (SixBits(text[i + 2]) << 6) | SixBits(text[i + 3]);
        out += static_cast<char>((v >> 16) & 0xFF);
        out += static_cast<char>((v >> 8) & 0xFF);
        out += static_cast<char>(v & 0xFF);
    }
    return out;
}

bool IsStorable(unsigned char c)
{
    return c >= 1 && c <= 127;
}

// Reads the block through its length marker. The marker gives the length
// mod 26 and the block's size narrows it to three neighbours, so the true
// length is known even when the password ends in spaces or holds the mask
// byte. Returns false when the block is not one ScramblePassword writes.
bool RestoreByMarker(const std::string& masked, std::string& password)
{
    const std::size_t size = masked.size();
    if (size < 3)
        return false;
    const unsigned char marker = static_cast<unsigned char>(masked[0]) ^ kMask;
    if (marker < 'a' || marker > 'z')
        return false;
    for (std::size_t length = size - 3; length < size; ++length) {
        if (length == 0 || length > kMaxPasswordLength
            || length % 26 != static_cast<std::size_t>(marker - 'a'))
            continue;
        std::string plain;
        plain.reserve(length);
        for (std::size_t i = 1; i <= length; ++i) {
            const unsigned char c = static_cast<unsigned char>(masked[i]) ^ kMask;
            if (!IsStorable(c))
                return false;
            plain += static_cast<char>(c);
        }
        for (std::size_t i = length + 1; i < size; ++i) {
            if ((static_cast<unsigned char>(masked[i]) ^ kMask) != ' ')
                return false;
        }
        password = std::move(plain);
        return true;
    }
    return false;
}

// The reading used for values no current scrambler writes (for instance a
// truncated value of a password that held the mask byte): the text ends at
// the first zero byte, up to two trailing spaces are dropped, and so is the
// marker.
std::string RestoreLegacy(const std::string& masked, const MessageCallback& message)
{
    std::string text;
    for (const char byte : masked) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c == 0)
            break;
        if (c == kMask)
            ReportMaskByte(message);
        text += static_cast<char>(c ^ kMask);
    }
    for (int i = 0; i < 2 && !text.empty() && text.back() == ' '; ++i)
        text.pop_back();
    return text.empty() ? std::string() : text.substr(1);
}

} // namespace

std::string PasswordChecksum(std::string_view text)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        sum += i * static_cast<unsigned char>(text[i]);
    std::string letters;
    letters += static_cast<char>('a' + sum % 26);
    letters += static_cast<char>('a' + (sum / 26) % 26);
    return letters;
}

std::string ScramblePassword(std::string_view password, const MessageCallback& message)
{
    if (password.empty() || password.size() > kMaxPasswordLength)
        return {};
    for (const char c : password) {
        if (!IsStorable(static_cast<unsigned char>(c)))
            return {};
    }
    std::string block;
    block += static_cast<char>('a' + password.size() % 26);
    block += password;
    while (block.size() % 3 != 0)
        block += ' ';
    for (char& byte : block) {
        if (static_cast<unsigned char>(byte) == kMask)
            ReportMaskByte(message);
        byte = static_cast<char>(static_cast<unsigned char>(byte) ^ kMask);
    }
    const std::string body = EncodeBase64(block);
    return PasswordChecksum(body) + body;
}

std::string UnscramblePassword(std::string_view stored, const MessageCallback& message)
{
    if (stored.size() < 2 || stored.size() > kMaxScrambledLength || (stored.size() - 2) % 4 != 0)
        return {};
    const std::string_view body = stored.substr(2);
    if (stored.substr(0, 2) != PasswordChecksum(body))
        return {};
    const std::string masked = DecodeBase64(body);
    std::string password;
    if (RestoreByMarker(masked, password))
        return password;
    return RestoreLegacy(masked, message);
}

bool ScrambleKeepsPassword(std::string_view password)
{
    return password.empty() || UnscramblePassword(ScramblePassword(password)) == password;
}

} // namespace app
