#pragma once

// Conversion of a text that arrives in blocks of any size (a file or a pipe
// read piece by piece), between JIS, EUC-JP, Shift_JIS (code page 932) and
// UTF-8, in memory that does not grow with the text. The JIS shift state and
// a character split between two blocks are carried over, so the result is
// byte for byte what converting the whole text at once gives.

#include "jconvert/code_blocks.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace jconvert {

// UTF-8, as an encoding code of the stream and of DetectTextCode only (the
// codec's InCodeCheck and dispatchers know codes 0 to 6).
inline constexpr int CODE_UTF8 = 8;

// How many leading bytes DetectTextCode looks at.
inline constexpr std::size_t kDetectionWindow = std::size_t { 1 } << 20;

// The encoding of a text from its first kDetectionWindow bytes (prefix;
// truncated when the text goes on after it):
// - binary content and JIS escapes as InCodeCheck finds them in prefix;
// - otherwise CODE_UTF8 when prefix holds a byte from 80 up and is well-formed
//   UTF-8 throughout (a sequence cut off by the window's end counts when the
//   text goes on);
// - otherwise InCodeCheck's result for prefix.
// Deciding from a bounded prefix is what lets a stream decide before the
// text's end: text still undecided after the window (plain ASCII, or bytes
// that read as both EUC-JP and Shift_JIS for the whole megabyte) stays
// undecided, and is copied unchanged, even if later bytes would settle it.
int DetectTextCode(const std::string& prefix, bool truncated);

class CodeStream {
public:
    // From inCode (CODE_JIS83 or CODE_JIS78, CODE_EUC, CODE_SJIS, CODE_UTF8)
    // to outCode (CODE_JIS83, CODE_EUC, CODE_SJIS, CODE_UTF8), converting as
    // the codec's functions do: JIS and EUC-JP go to and from UTF-8 through
    // Shift_JIS, UTF-8 input drops a leading byte-order mark, code page 932
    // decoding writes U+FFFD for what is no character, and UTF-8 encoding
    // the geta mark for what has no code page 932 form. Any other pair of
    // codes, and the same code in and out, copies the text unchanged.
    CodeStream(int inCode, int outCode);

    // True when the stream converts; false when it copies.
    bool Converts() const { return stageCount_ > 0; }

    // Converts block, appending what is complete to out; a character cut off
    // at the block's end (at most a few bytes) is held for the next call.
    void Write(std::string_view block, std::string& out);
    // Converts what is held; the text ends here.
    void Finish(std::string& out);

private:
    // Jis2Utf8 and Euc2Utf8 decode in one pass what the two steps through
    // Shift_JIS give, as long as the text is well formed; from the first
    // step that is not they take the two steps. Utf82Euc and Utf82Jis are one
    // pass always.
    enum class Step {
        Jis2Euc,
        Jis2Sjis,
        Euc2Jis,
        Sjis2Jis,
        Euc2Sjis,
        Sjis2Euc,
        Sjis2Utf8,
        Utf82Sjis,
        Jis2Utf8,
        Euc2Utf8,
        Utf82Euc,
        Utf82Jis
    };
    struct Stage {
        Step step = Step::Sjis2Utf8;
        detail::BlockState state;
        std::string held; // bytes left over from the last block
        bool atStart = true; // for the byte-order mark of UTF-8 input
        bool twoSteps = false; // Jis2Utf8, Euc2Utf8: past the one-pass part
        std::string sjis; // the two steps: Shift_JIS between them
        std::string sjisHeld; // the two steps: Shift_JIS the decoder left over
    };

    void AddStage(Step step);
    static void Feed(Stage& stage, std::string_view input, bool atEnd, std::string& out);
    static std::size_t Run(Stage& stage, std::string_view input, bool atEnd, std::string& out);
    static std::size_t RunTwoSteps(Stage& stage, std::string_view input, bool atEnd, std::string& out);
    void Pass(std::string_view block, bool atEnd, std::string& out);

    std::array<Stage, 2> stages_ {};
    int stageCount_ = 0;
    std::string middle_; // between the two stages
};

} // namespace jconvert
