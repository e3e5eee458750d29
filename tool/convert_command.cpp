// corkpane-tool convert / guess: detect the Japanese encoding of a file (or
// standard input) and convert it, for people at a terminal.
//
//   corkpane-tool convert --to sjis|euc|jis [FILE]
//   corkpane-tool guess [FILE]
#include "CommandRegistry.h"
#include "jconvert/codes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <ios>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

namespace {

using tool::Args;
using tool::Io;

// Everything left in a stream, read in large blocks (a character-wise
// iterator would dominate the run time on big files). False when the stream
// cannot be read, as a directory opened as a file.
bool readAll(std::istream& in, std::string& text)
{
    std::streambuf* buffer = in.rdbuf();
    if (!buffer)
        return false;
    try {
        char block[1 << 16];
        for (;;) {
            const std::streamsize got = buffer->sgetn(block, sizeof block);
            if (got <= 0)
                break;
            text.append(block, static_cast<std::size_t>(got));
        }
    } catch (const std::ios_base::failure&) {
        return false;
    }
    return true;
}

// The whole of FILE, or of standard input when no file is named (or "-");
// nothing (after a message) when the file cannot be read.
std::optional<std::string> readInput(const Args& args, std::size_t fileIndex, Io& io)
{
    std::string text;
    if (fileIndex >= args.size() || args[fileIndex] == "-") {
        if (readAll(io.in, text))
            return text;
        io.err << "corkpane-tool: cannot read standard input\n";
        return std::nullopt;
    }
    std::ifstream file(args[fileIndex], std::ios::binary);
    // A regular file's size is known: read it with one call into storage of
    // that size, then whatever may have been appended since.
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(args[fileIndex], error);
    if (file && !error && size > 0 && size < text.max_size()) {
        text.resize(static_cast<std::size_t>(size));
        const std::streamsize got = file.rdbuf()->sgetn(text.data(), static_cast<std::streamsize>(size));
        text.resize(static_cast<std::size_t>(std::max<std::streamsize>(0, got)));
    }
    if (!file || !readAll(file, text)) {
        io.err << "corkpane-tool: cannot read " << args[fileIndex] << '\n';
        return std::nullopt;
    }
    return text;
}

const char* codeName(int code)
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
    default:
        return "CODE_EUC_OR_SJIS";
    }
}

int runGuess(const Args& args, Io& io)
{
    if (args.size() > 1) {
        io.err << "usage: corkpane-tool guess [FILE]\n";
        return tool::kExitUsage;
    }
    const auto text = readInput(args, 0, io);
    if (!text)
        return tool::kExitFailure;
    io.out << codeName(jconvert::InCodeCheck(*text)) << '\n';
    return tool::kExitOk;
}

int runConvert(const Args& args, Io& io)
{
    std::optional<int> out;
    if (args.size() >= 2 && args[0] == "--to") {
        if (args[1] == "sjis")
            out = jconvert::CODE_SJIS;
        else if (args[1] == "euc")
            out = jconvert::CODE_EUC;
        else if (args[1] == "jis")
            out = jconvert::CODE_JIS83;
    }
    if (!out || args.size() > 3) {
        io.err << "usage: corkpane-tool convert --to sjis|euc|jis [FILE]\n";
        return tool::kExitUsage;
    }
    const auto text = readInput(args, 2, io);
    if (!text)
        return tool::kExitFailure;
    const int in = jconvert::InCodeCheck(*text);
    // Undecided input is passed through as it is; say so, since the output
    // is then not necessarily in the encoding asked for.
    if (in == jconvert::CODE_BINARY || in == jconvert::CODE_EUC_OR_SJIS)
        io.err << "corkpane-tool: input detected as " << codeName(in) << ", copied unchanged\n";
    io.out << jconvert::StrictConvertJCode(*text, in, *out);
    return tool::kExitOk;
}

const tool::Registration convertReg { "convert",
    "convert --to sjis|euc|jis [FILE]   detect the encoding and convert", &runConvert };
const tool::Registration guessReg { "guess", "guess [FILE]   print the detected encoding's name", &runGuess };

} // namespace
