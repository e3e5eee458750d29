// corkpane-tool codec: applies one function of the Japanese text codec to all
// of standard input and writes the result, byte for byte, to standard output.
//
//   corkpane-tool codec [--strict-check-len N] NAME [ARG...]
//
// String results are written as raw bytes with nothing added; integer results
// as a decimal number and a line feed. Codes are decimal integers, line-break
// arguments hexadecimal bytes ("0d0a") or "-" for none, and the two bytes of
// ToSjis / ToJis hexadecimal (they read no input).
#include "CommandRegistry.h"
#include "jconvert/jconvert.h"

#include <charconv>
#include <istream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>

namespace {

using tool::Args;
using tool::Io;

constexpr const char* kSynopsis
    = "codec [--strict-check-len N] NAME [ARG...]   apply one codec function to stdin";

// The codec's function signatures; the alternative tells what a function
// takes besides its input text and how its arguments are read.
using TextFn = std::string (*)(const std::string&);
using CountFn = int (*)(const std::string&);
using CodeFn = std::string (*)(const std::string&, int);
using TwoCodesFn = std::string (*)(const std::string&, int, int);
using LineBreakFn = std::string (*)(const std::string&, const std::string&);
using BytePairFn = std::string (*)(unsigned char, unsigned char); // reads no input
using Function = std::variant<TextFn, CountFn, CodeFn, TwoCodesFn, LineBreakFn, BytePairFn>;

const std::map<std::string_view, Function>& functions()
{
    using namespace jconvert;
    static const std::map<std::string_view, Function> table = {
        { "InCodeCheck", CountFn { &InCodeCheck } },
        { "ConvertJCode", CodeFn { &ConvertJCode } },
        { "StrictConvertJCode", TwoCodesFn { &StrictConvertJCode } },
        { "jis2euc", TextFn { &jis2euc } },
        { "euc2jis83", TextFn { &euc2jis83 } },
        { "jis2sjis", TextFn { &jis2sjis } },
        { "euc2sjis", TextFn { &euc2sjis } },
        { "sjis2jis83", TextFn { &sjis2jis83 } },
        { "sjis2euc", TextFn { &sjis2euc } },
        { "ToSjis", BytePairFn { &ToSjis } },
        { "ToJis", BytePairFn { &ToJis } },
        { "ReturnCodeCheck", CountFn { &ReturnCodeCheck } },
        { "ConvertReturnCode", CodeFn { &ConvertReturnCode } },
        { "StrictConvertReturnCode", TwoCodesFn { &StrictConvertReturnCode } },
        { "EncodeBase64", TextFn { &EncodeBase64 } },
        { "EncodeBase64R", LineBreakFn { &EncodeBase64R } },
        { "EncodeUU", LineBreakFn { &EncodeUU } },
        { "EncodeBinHex", LineBreakFn { &EncodeBinHex } },
        { "DecodeBase64", TextFn { &DecodeBase64 } },
        { "DecodeUU", TextFn { &DecodeUU } },
        { "DecodeBinHex", TextFn { &DecodeBinHex } },
        { "CreateHeaderString", TextFn { &CreateHeaderString } },
        { "DecodeHeaderString", TextFn { &DecodeHeaderString } },
        { "Cp932ToUtf8", TextFn { [](const std::string& text) { return Cp932ToUtf8(text); } } },
        { "Utf8ToCp932", TextFn { [](const std::string& text) { return Utf8ToCp932(text); } } },
    };
    return table;
}

// The arguments a function takes after its name, as the usage line shows them.
const char* argumentSynopsis(const Function& f)
{
    constexpr const char* kSynopses[] = { "", "", "OUT", "IN OUT", "BREAK", "HH HH" };
    return kSynopses[f.index()];
}

std::size_t argumentCount(const Function& f)
{
    constexpr std::size_t kCounts[] = { 0, 0, 1, 2, 1, 2 };
    return kCounts[f.index()];
}

// A whole argument as a decimal int (optional sign), or nothing.
std::optional<int> parseInt(std::string_view s)
{
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One byte written as one or two hexadecimal digits.
std::optional<unsigned char> parseHexByte(std::string_view s)
{
    if (s.empty() || s.size() > 2)
        return std::nullopt;
    int value = 0;
    for (char c : s) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<unsigned char>(value);
}

// A line break given as pairs of hexadecimal digits, or "-" for none.
std::optional<std::string> parseLineBreak(std::string_view s)
{
    if (s == "-")
        return std::string();
    if (s.empty() || s.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        const auto byte = parseHexByte(s.substr(i, 2));
        if (!byte)
            return std::nullopt;
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

std::string readAll(std::istream& in)
{
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int usageError(Io& io, const std::string& message)
{
    io.err << "corkpane-tool codec: " << message << '\n';
    return tool::kExitUsage;
}

// Puts STRICT_CHECK_LEN back when the command is done, so that a run from
// within the same process leaves the codec as it found it.
class StrictCheckLenGuard {
public:
    StrictCheckLenGuard()
        : saved_(jconvert::STRICT_CHECK_LEN)
    {
    }
    ~StrictCheckLenGuard() { jconvert::STRICT_CHECK_LEN = saved_; }
    StrictCheckLenGuard(const StrictCheckLenGuard&) = delete;
    StrictCheckLenGuard& operator=(const StrictCheckLenGuard&) = delete;

private:
    int saved_;
};

int run(const Args& args, Io& io)
{
    StrictCheckLenGuard guard;
    std::size_t next = 0;
    if (next < args.size() && args[next] == "--strict-check-len") {
        if (next + 1 >= args.size())
            return usageError(io, "--strict-check-len needs a number");
        const auto len = parseInt(args[next + 1]);
        if (!len)
            return usageError(io, "--strict-check-len: not a decimal integer: '" + args[next + 1] + "'");
        jconvert::STRICT_CHECK_LEN = *len;
        next += 2;
    }
    if (next >= args.size())
        return usageError(io, "usage: corkpane-tool codec [--strict-check-len N] NAME [ARG...]");

    const std::string& name = args[next++];
    const auto it = functions().find(name);
    if (it == functions().end())
        return usageError(io, "unknown function '" + name + "'");
    const Function& f = it->second;
    const Args rest(args.begin() + static_cast<std::ptrdiff_t>(next), args.end());
    if (rest.size() != argumentCount(f)) {
        const std::string synopsis = argumentSynopsis(f);
        return usageError(io, "usage: " + name + (synopsis.empty() ? "" : " " + synopsis));
    }

    std::string result;
    if (const auto* text = std::get_if<TextFn>(&f)) {
        result = (*text)(readAll(io.in));
    } else if (const auto* count = std::get_if<CountFn>(&f)) {
        io.out << (*count)(readAll(io.in)) << '\n';
        return io.out ? tool::kExitOk : tool::kExitFailure;
    } else if (const auto* code = std::get_if<CodeFn>(&f)) {
        const auto out = parseInt(rest[0]);
        if (!out)
            return usageError(io, name + ": not a decimal integer: '" + rest[0] + "'");
        result = (*code)(readAll(io.in), *out);
    } else if (const auto* twoCodes = std::get_if<TwoCodesFn>(&f)) {
        const auto in = parseInt(rest[0]);
        const auto out = parseInt(rest[1]);
        if (!in || !out)
            return usageError(io, name + ": not a decimal integer: '" + rest[in ? 1 : 0] + "'");
        result = (*twoCodes)(readAll(io.in), *in, *out);
    } else if (const auto* lineBreakFn = std::get_if<LineBreakFn>(&f)) {
        const auto lineBreak = parseLineBreak(rest[0]);
        if (!lineBreak)
            return usageError(io, name + ": BREAK must be hexadecimal bytes or '-': '" + rest[0] + "'");
        result = (*lineBreakFn)(readAll(io.in), *lineBreak);
    } else if (const auto* pair = std::get_if<BytePairFn>(&f)) {
        const auto b1 = parseHexByte(rest[0]);
        const auto b2 = parseHexByte(rest[1]);
        if (!b1 || !b2)
            return usageError(io, name + ": not a hexadecimal byte: '" + rest[b1 ? 1 : 0] + "'");
        result = (*pair)(*b1, *b2);
    }
    io.out.write(result.data(), static_cast<std::streamsize>(result.size()));
    return io.out ? tool::kExitOk : tool::kExitFailure;
}

const tool::Registration reg { "codec", kSynopsis, &run };

} // namespace
