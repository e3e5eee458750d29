// corkpane-tool codec: applies one function of the Japanese text codec to all
// of standard input and writes the result, byte for byte, to standard output.
//
//   corkpane-tool codec [--strict-check-len N] NAME [ARG...]
//
// String results are written as raw bytes with nothing added; integer results
// as a decimal number and a line feed. Codes are decimal integers, line-break
// arguments hexadecimal bytes ("0d0a") or "-" for none, and the two bytes of
// ToSjis / ToJis hexadecimal (they read no input).
#include "Arguments.h"
#include "CommandRegistry.h"
#include "jconvert/AsciiText.h"
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

const std::map<std::string_view, Function>& Functions()
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
const char* ArgumentSynopsis(const Function& f)
{
    constexpr const char* kSynopses[] = { "", "", "OUT", "IN OUT", "BREAK", "HH HH" };
    return kSynopses[f.index()];
}

std::size_t ArgumentCount(const Function& f)
{
    constexpr std::size_t kCounts[] = { 0, 0, 1, 2, 1, 2 };
    return kCounts[f.index()];
}

// One byte written as one or two hexadecimal digits.
std::optional<unsigned char> ParseHexByte(std::string_view s)
{
    if (s.empty() || s.size() > 2)
        return std::nullopt;
    int value = 0;
    for (char c : s) {
        const int d = jconvert::AsciiHexValue(c);
        if (d < 0)
            return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<unsigned char>(value);
}

// A line break given as pairs of hexadecimal digits, or "-" for none.
std::optional<std::string> ParseLineBreak(std::string_view s)
{
    if (s == "-")
        return std::string();
    if (s.empty() || s.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        const auto byte = ParseHexByte(s.substr(i, 2));
        if (!byte)
            return std::nullopt;
        out.push_back(static_cast<char>(*byte));
    }
    return out;
}

std::string ReadAll(std::istream& in)
{
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int UsageError(Io& io, const std::string& message)
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

int Run(const Args& args, Io& io)
{
    StrictCheckLenGuard guard;
    std::size_t next = 0;
    if (next < args.size() && args[next] == "--strict-check-len") {
        if (next + 1 >= args.size())
            return UsageError(io, "--strict-check-len needs a number");
        const auto len = tool::ParseNumber<int>(args[next + 1]);
        if (!len)
            return UsageError(
                io, "--strict-check-len: not a decimal integer: '" + tool::Shown(args[next + 1]) + "'");
        jconvert::STRICT_CHECK_LEN = *len;
        next += 2;
    }
    if (next >= args.size())
        return UsageError(io, "usage: corkpane-tool codec [--strict-check-len N] NAME [ARG...]");

    const std::string& name = args[next++];
    const auto it = Functions().find(name);
    if (it == Functions().end())
        return UsageError(io, "unknown function '" + tool::Shown(name) + "'");
    const Function& f = it->second;
    const Args rest(args.begin() + static_cast<std::ptrdiff_t>(next), args.end());
    if (rest.size() != ArgumentCount(f)) {
        const std::string synopsis = ArgumentSynopsis(f);
        return UsageError(io, "usage: " + name + (synopsis.empty() ? "" : " " + synopsis));
    }

    std::string result;
    if (const auto* text = std::get_if<TextFn>(&f)) {
        result = (*text)(ReadAll(io.in));
    } else if (const auto* count = std::get_if<CountFn>(&f)) {
        io.out << (*count)(ReadAll(io.in)) << '\n';
        return io.out ? tool::kExitOk : tool::kExitFailure;
    } else if (const auto* code = std::get_if<CodeFn>(&f)) {
        const auto out = tool::ParseNumber<int>(rest[0]);
        if (!out)
            return UsageError(io, name + ": not a decimal integer: '" + tool::Shown(rest[0]) + "'");
        result = (*code)(ReadAll(io.in), *out);
    } else if (const auto* twoCodes = std::get_if<TwoCodesFn>(&f)) {
        const auto in = tool::ParseNumber<int>(rest[0]);
        const auto out = tool::ParseNumber<int>(rest[1]);
        if (!in || !out)
            return UsageError(io, name + ": not a decimal integer: '" + tool::Shown(rest[in ? 1 : 0]) + "'");
        result = (*twoCodes)(ReadAll(io.in), *in, *out);
    } else if (const auto* lineBreakFn = std::get_if<LineBreakFn>(&f)) {
        const auto lineBreak = ParseLineBreak(rest[0]);
        if (!lineBreak)
            return UsageError(
                io, name + ": BREAK must be hexadecimal bytes or '-': '" + tool::Shown(rest[0]) + "'");
        result = (*lineBreakFn)(ReadAll(io.in), *lineBreak);
    } else if (const auto* pair = std::get_if<BytePairFn>(&f)) {
        const auto b1 = ParseHexByte(rest[0]);
        const auto b2 = ParseHexByte(rest[1]);
        if (!b1 || !b2)
            return UsageError(io, name + ": not a hexadecimal byte: '" + tool::Shown(rest[b1 ? 1 : 0]) + "'");
        result = (*pair)(*b1, *b2);
    }
    io.out.write(result.data(), static_cast<std::streamsize>(result.size()));
    return io.out ? tool::kExitOk : tool::kExitFailure;
}

const tool::Registration reg { "codec", kSynopsis, &Run };

} // namespace
