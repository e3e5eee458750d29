#include "jconvert/CodeStream.h"

#include "jconvert/codes.h"
#include "jconvert/cp932.h"

#include <algorithm>

namespace jconvert {

namespace {

// The family of an encoding code: 'J', 'E', 'S', 'U', or 0 for none.
char Family(int code)
{
    switch (code) {
    case CODE_JIS83:
    case CODE_JIS78:
        return 'J';
    case CODE_EUC:
        return 'E';
    case CODE_SJIS:
        return 'S';
    case CODE_UTF8:
        return 'U';
    default:
        return 0;
    }
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

} // namespace

int DetectTextCode(const std::string& prefix, bool truncated)
{
    const int code = InCodeCheck(prefix);
    if (code == CODE_BINARY || code == CODE_JIS83 || code == CODE_JIS78)
        return code;
    const bool eightBit = std::any_of(
        prefix.begin(), prefix.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (!eightBit)
        return code;
    const std::size_t valid = ValidUtf8Prefix(prefix);
    bool utf8 = valid == prefix.size();
    if (!utf8 && truncated && prefix.size() - valid < 4) {
        // A sequence cut off by the window's end: the converter would hold
        // it back rather than use it.
        std::string scratch;
        utf8 = AppendUtf8AsCp932(std::string_view(prefix).substr(valid), false, BadInput::Replace, scratch)
            == 0;
    }
    return utf8 ? CODE_UTF8 : code;
}

CodeStream::CodeStream(int inCode, int outCode)
{
    const char in = Family(inCode);
    const char out = (outCode == CODE_JIS78) ? 0 : Family(outCode);
    if (in == 0 || out == 0 || in == out)
        return;
    // JIS and EUC-JP convert into each other directly; everything else
    // goes through Shift_JIS, as the codec's functions chain.
    if (in == 'J' && out == 'E') {
        AddStage(Step::Jis2Euc);
        return;
    }
    if (in == 'E' && out == 'J') {
        AddStage(Step::Euc2Jis);
        return;
    }
    if (in == 'J')
        AddStage(Step::Jis2Sjis);
    else if (in == 'E')
        AddStage(Step::Euc2Sjis);
    else if (in == 'U')
        AddStage(Step::Utf82Sjis);
    if (out == 'J')
        AddStage(Step::Sjis2Jis);
    else if (out == 'E')
        AddStage(Step::Sjis2Euc);
    else if (out == 'U')
        AddStage(Step::Sjis2Utf8);
}

void CodeStream::AddStage(Step step)
{
    stages_[static_cast<std::size_t>(stageCount_++)] = Stage { step, {}, {}, true };
}

std::size_t CodeStream::Run(Stage& stage, std::string_view input, bool atEnd, std::string& out)
{
    switch (stage.step) {
    case Step::Jis2Euc:
        return detail::Jis2EucBlock(input, atEnd, stage.state, out);
    case Step::Jis2Sjis:
        return detail::Jis2SjisBlock(input, atEnd, stage.state, out);
    case Step::Euc2Jis:
        return detail::Euc2Jis83Block(input, atEnd, stage.state, out);
    case Step::Sjis2Jis:
        return detail::Sjis2Jis83Block(input, atEnd, stage.state, out);
    case Step::Euc2Sjis:
        return detail::Euc2SjisBlock(input, atEnd, stage.state, out);
    case Step::Sjis2Euc:
        return detail::Sjis2EucBlock(input, atEnd, stage.state, out);
    case Step::Sjis2Utf8:
        return AppendCp932AsUtf8(input, atEnd, BadInput::Replace, out);
    case Step::Utf82Sjis:
        return AppendUtf8AsCp932(input, atEnd, BadInput::Replace, out);
    }
    return input.size();
}

void CodeStream::Feed(Stage& stage, std::string_view input, bool atEnd, std::string& out)
{
    if (stage.step == Step::Utf82Sjis && stage.atStart) {
        // Hold the first three bytes until it is known whether they are a
        // byte-order mark, which is dropped.
        const std::size_t take = std::min(input.size(), kByteOrderMark.size() - stage.held.size());
        stage.held.append(input.substr(0, take));
        input.remove_prefix(take);
        if (stage.held.size() < kByteOrderMark.size() && !atEnd)
            return;
        stage.atStart = false;
        if (stage.held == kByteOrderMark)
            stage.held.clear();
    }
    if (!stage.held.empty()) {
        // The held bytes complete with the next few of input; no step is
        // longer than five bytes, so sixteen more always get past them
        // unless input is shorter.
        const std::size_t before = stage.held.size();
        const std::size_t take = std::min<std::size_t>(input.size(), 16);
        stage.held.append(input.substr(0, take));
        const std::size_t used = Run(stage, stage.held, atEnd && take == input.size(), out);
        if (used < before) {
            stage.held.erase(0, used);
            return; // all of input is held
        }
        stage.held.clear();
        input.remove_prefix(used - before);
    }
    const std::size_t used = Run(stage, input, atEnd, out);
    stage.held.assign(input.substr(used));
}

void CodeStream::Pass(std::string_view block, bool atEnd, std::string& out)
{
    if (stageCount_ == 0) {
        out.append(block);
    } else if (stageCount_ == 1) {
        Feed(stages_[0], block, atEnd, out);
    } else {
        middle_.clear();
        Feed(stages_[0], block, atEnd, middle_);
        Feed(stages_[1], middle_, atEnd, out);
    }
}

void CodeStream::Write(std::string_view block, std::string& out)
{
    Pass(block, false, out);
}

void CodeStream::Finish(std::string& out)
{
    Pass({}, true, out);
}

} // namespace jconvert
