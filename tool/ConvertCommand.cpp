// corkpane-tool convert / guess: detect the Japanese encoding of a file (or
// standard input) and convert it, for people at a terminal.
//
//   corkpane-tool convert [--from sjis|euc|jis|utf8] --to sjis|euc|jis|utf8 [FILE]
//   corkpane-tool guess [FILE]
//
// convert streams: it reads and writes in fixed-size blocks, so its memory
// stays small whatever the input's size, and its output is byte for byte
// what converting the whole input at once gives. Without --from the input's
// encoding is detected from its first megabyte (held until then, or until
// the input ends); see jconvert::DetectTextCode for what undecided input
// does. guess prints what convert would detect.
#include "Arguments.h"
#include "CommandRegistry.h"
#include "jconvert/CodeStream.h"
#include "jconvert/codes.h"
#include "platform/FileIo.h"
#include "platform/SystemErrorText.h"
#include "tool/Texts.h"

#include <algorithm>
#include <cerrno>
#include <ios>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace {

using tool::Args;
using tool::Io;

constexpr std::size_t kBlockSize = std::size_t { 1 } << 17;

// Reads blocks from a file (through the file unit) or standard input;
// remembers a read error.
class Input {
public:
    Input(const Args& args, std::size_t fileIndex, Io& io)
    {
        if (fileIndex >= args.size() || args[fileIndex] == "-") {
            name_ = "standard input";
            buffer_ = io.in.rdbuf();
            failed_ = buffer_ == nullptr;
            return;
        }
        name_ = args[fileIndex];
        try {
            file_.emplace(args[fileIndex]);
        } catch (const platform::FileIoError& error) {
            Fail(error);
        }
    }

    // Reads up to count bytes into buffer; 0 at the end or on an error.
    std::size_t ReadSome(char* buffer, std::size_t count)
    {
        if (failed_ || ended_)
            return 0;
        std::size_t got = 0;
        try {
            if (file_)
                got = file_->Read(buffer, count);
            else
                got = static_cast<std::size_t>(std::max<std::streamsize>(
                    0, buffer_->sgetn(buffer, static_cast<std::streamsize>(count))));
        } catch (const platform::FileIoError& error) {
            Fail(error);
        } catch (const std::ios_base::failure& error) {
            // A stream that throws on a failed read; the code is errno's
            // where the standard library took it from the system.
            const std::error_code code = error.code();
            const bool system
                = code.category() == std::generic_category() || code.category() == std::system_category();
            failed_ = true;
            error_ = tool::texts::kStandardInputUnreadable
                + platform::SystemErrorText(system ? code.value() : EIO);
        }
        if (got == 0)
            ended_ = true;
        return got;
    }

    // Appends up to count bytes to text; false at the end or on an error.
    bool Read(std::string& text, std::size_t count)
    {
        const std::size_t start = text.size();
        text.resize(start + count);
        const std::size_t got = ReadSome(text.data() + start, count);
        text.resize(start + got);
        return got > 0;
    }

    bool Failed() const { return failed_; }
    const std::string& Name() const { return name_; }
    // The message (Shift_JIS) with the system's reason.
    const std::string& Error() const { return error_; }

private:
    void Fail(const platform::FileIoError& error)
    {
        failed_ = true;
        error_ = error.what();
    }

    std::optional<platform::FileReader> file_;
    std::streambuf* buffer_ = nullptr;
    std::string name_;
    std::string error_;
    bool failed_ = false;
    bool ended_ = false;
};

const char* CodeName(int code)
{
    switch (code) {
    case jconvert::CODE_ASCII:
        return "CODE_ASCII";
    case jconvert::CODE_BINARY:
        return "CODE_BINARY";
    case jconvert::CODE_JIS83:
        return "CODE_JIS83";
    case jconvert::CODE_JIS78:
        return "CODE_JIS78";
    case jconvert::CODE_EUC:
        return "CODE_EUC";
    case jconvert::CODE_SJIS:
        return "CODE_SJIS";
    case jconvert::CODE_UTF8:
        return "CODE_UTF8";
    default:
        return "CODE_EUC_OR_SJIS";
    }
}

std::optional<int> CodeOption(const std::string& name)
{
    if (name == "sjis")
        return jconvert::CODE_SJIS;
    if (name == "euc")
        return jconvert::CODE_EUC;
    if (name == "jis")
        return jconvert::CODE_JIS83;
    if (name == "utf8")
        return jconvert::CODE_UTF8;
    return std::nullopt;
}

bool ReadFailed(const Input& input, Io& io)
{
    if (!input.Failed())
        return false;
    io.err << "corkpane-tool: cannot read " << tool::Shown(input.Name()) << '\n';
    if (!input.Error().empty())
        io.err << input.Error() << '\n';
    return true;
}

// Reads the detection window (and one byte more, to know whether the input
// goes on) and detects its encoding.
int Detect(Input& input, std::string& held)
{
    while (held.size() <= jconvert::kDetectionWindow
        && input.Read(held, jconvert::kDetectionWindow + 1 - held.size())) { }
    const bool truncated = held.size() > jconvert::kDetectionWindow;
    if (!truncated)
        return jconvert::DetectTextCode(held, false);
    return jconvert::DetectTextCode(held.substr(0, jconvert::kDetectionWindow), true);
}

int RunGuess(const Args& args, Io& io)
{
    if (args.size() > 1) {
        io.err << "usage: corkpane-tool guess [FILE]\n";
        return tool::kExitUsage;
    }
    Input input(args, 0, io);
    std::string held;
    const int code = Detect(input, held);
    if (ReadFailed(input, io))
        return tool::kExitFailure;
    io.out << CodeName(code) << '\n';
    return tool::kExitOk;
}

int RunConvert(const Args& args, Io& io)
{
    std::optional<int> from, to;
    std::size_t next = 0;
    bool usage = false;
    while (next + 1 < args.size() && (args[next] == "--to" || args[next] == "--from")) {
        std::optional<int>& option = args[next] == "--to" ? to : from;
        usage = usage || option.has_value();
        option = CodeOption(args[next + 1]);
        usage = usage || !option;
        next += 2;
    }
    if (usage || !to || args.size() > next + 1) {
        io.err << "usage: corkpane-tool convert [--from sjis|euc|jis|utf8] --to sjis|euc|jis|utf8 [FILE]\n";
        return tool::kExitUsage;
    }

    Input input(args, next, io);
    std::string held;
    const int in = from ? *from : Detect(input, held);
    if (ReadFailed(input, io))
        return tool::kExitFailure;
    // Undecided input is passed through as it is; say so, since the output
    // is then not necessarily in the encoding asked for.
    if (in == jconvert::CODE_BINARY || in == jconvert::CODE_EUC_OR_SJIS)
        io.err << "corkpane-tool: input detected as " << CodeName(in) << ", copied unchanged\n";

    jconvert::CodeStream stream(in, *to);
    std::string out;
    auto flush = [&] {
        io.out.write(out.data(), static_cast<std::streamsize>(out.size()));
        out.clear();
    };
    for (std::size_t at = 0; at < held.size(); at += kBlockSize) {
        stream.Write(std::string_view(held).substr(at, kBlockSize), out);
        flush();
    }
    held.clear();
    held.shrink_to_fit();
    std::string block(kBlockSize, '\0');
    while (const std::size_t got = input.ReadSome(block.data(), kBlockSize)) {
        stream.Write(std::string_view(block.data(), got), out);
        flush();
    }
    if (ReadFailed(input, io))
        return tool::kExitFailure;
    stream.Finish(out);
    flush();
    // The dispatcher says why the output could not be written.
    return io.out.flush() ? tool::kExitOk : tool::kExitFailure;
}

const tool::Registration convertReg { "convert",
    "convert [--from sjis|euc|jis|utf8] --to sjis|euc|jis|utf8 [FILE]   convert (detecting the input's "
    "encoding)",
    &RunConvert };
const tool::Registration guessReg { "guess", "guess [FILE]   print the detected encoding's name", &RunGuess };

} // namespace
