#include "jconvert/CodeStream.h"

#include "jconvert/codes.h"
#include "jconvert/cp932.h"

#include <algorithm>
#include <cstring>

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

// What the code page 932 decoder gives for the Shift_JIS form of each JIS
// X 0208 code point (row and column 21-7E): bytes[0..3] and their count.
struct PairForm {
    unsigned char bytes[4];
    unsigned char count;
};

const PairForm* JisPairForms()
{
    static const PairForm* const forms = [] {
        auto* table = new PairForm[94 * 94] {};
        for (unsigned row = 0x21; row <= 0x7E; ++row) {
            for (unsigned col = 0x21; col <= 0x7E; ++col) {
                const std::string sjis
                    = ToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(col));
                const std::string utf8 = Cp932ToUtf8(sjis);
                PairForm& form = table[(row - 0x21) * 94 + (col - 0x21)];
                form.count = static_cast<unsigned char>(utf8.size()); // 2 to 4 bytes
                std::memcpy(form.bytes, utf8.data(), utf8.size());
            }
        }
        return table;
    }();
    return forms;
}

inline bool InJisRange(unsigned c)
{
    return c >= 0x21 && c <= 0x7E;
}

// The one-pass decoders. Each stops (returning its position, with clean
// false) at the first step whose Shift_JIS form would not decode on its own
// (a byte from 80 up copied through, a pair outside the JIS X 0208 code
// space), so that the two steps take over there, from a character boundary
// with nothing pending in either. Unless atEnd, a step that might need bytes
// past the end is left for the next block.
std::size_t EucToUtf8(const unsigned char* p, std::size_t n, bool atEnd, std::string& out, bool& clean)
{
    const PairForm* forms = JisPairForms();
    const std::size_t start = out.size();
    // A byte that is no character becomes three; nothing becomes more.
    out.resize(start + 3 * n + 8);
    unsigned char* o = reinterpret_cast<unsigned char*>(out.data()) + start;
    std::size_t i = 0;
    clean = true;
    while (i < n) {
        const unsigned c = p[i];
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
            ++i;
            continue;
        }
        if (c == 0x80 || c == 0xFF) {
            std::memcpy(o, "\xEF\xBF\xBD", 3); // no character in Shift_JIS either
            o += 3;
            ++i;
            continue;
        }
        if (i + 1 >= n) {
            if (atEnd)
                clean = false;
            break;
        }
        const unsigned d = p[i + 1];
        if (c == 0x8E && d >= 0xA1 && d <= 0xDF) {
            // Half-width katakana, U+FF61-U+FF9F.
            o[0] = 0xEF;
            o[1] = d <= 0xBF ? 0xBD : 0xBE;
            o[2] = static_cast<unsigned char>(d <= 0xBF ? d : d - 0x40);
            o += 3;
            i += 2;
            continue;
        }
        if (!InJisRange(c & 0x7F) || !InJisRange(d & 0x7F) || c < 0xA1 || d < 0xA1) {
            clean = false;
            break;
        }
        const PairForm& form = forms[((c & 0x7F) - 0x21) * 94 + ((d & 0x7F) - 0x21)];
        std::memcpy(o, form.bytes, 4);
        o += form.count;
        i += 2;
    }
    out.resize(static_cast<std::size_t>(o - reinterpret_cast<unsigned char*>(out.data())));
    return i;
}

std::size_t JisToUtf8(const unsigned char* p, std::size_t n, bool atEnd, detail::BlockState& state,
    std::string& out, bool& clean)
{
    const PairForm* forms = JisPairForms();
    const std::size_t start = out.size();
    out.resize(start + 2 * n + 8);
    unsigned char* o = reinterpret_cast<unsigned char*>(out.data()) + start;
    bool dbl = state.doubleByte;
    std::size_t i = 0;
    clean = true;
    // One unit at q in mode twoByte: writes it and returns its length, or 0
    // when it is not clean.
    auto unit = [&](std::size_t q, bool twoByte) -> std::size_t {
        if (!twoByte) {
            if (p[q] >= 0x80)
                return 0;
            *o++ = p[q];
            return 1;
        }
        if (q + 1 >= n || !InJisRange(p[q]) || !InJisRange(p[q + 1]))
            return 0;
        const PairForm& form = forms[(p[q] - 0x21) * 94 + (p[q + 1] - 0x21)];
        std::memcpy(o, form.bytes, 4);
        o += form.count;
        return 2;
    };
    while (i < n) {
        if (p[i] == 0x1B) {
            // The sequence, the byte after it and that byte's partner.
            if (i + 5 > n) {
                clean = !atEnd;
                break;
            }
            const bool next = p[i + 1] == '$' ? true : p[i + 1] == '(' ? false : dbl;
            const std::size_t used = unit(i + 3, next);
            if (used == 0) {
                clean = false;
                break;
            }
            dbl = next;
            i += 3 + used;
            continue;
        }
        if (dbl && i + 1 >= n) {
            clean = !atEnd;
            break;
        }
        const std::size_t used = unit(i, dbl);
        if (used == 0) {
            clean = false;
            break;
        }
        i += used;
    }
    state.doubleByte = dbl;
    out.resize(static_cast<std::size_t>(o - reinterpret_cast<unsigned char*>(out.data())));
    return i;
}

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
    if (in == 'J' && out == 'U') {
        AddStage(Step::Jis2Utf8);
        return;
    }
    if (in == 'E' && out == 'U') {
        AddStage(Step::Euc2Utf8);
        return;
    }
    if (in == 'U' && out == 'E') {
        AddStage(Step::Utf82Euc);
        return;
    }
    if (in == 'U' && out == 'J') {
        AddStage(Step::Utf82Jis);
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
    Stage& stage = stages_[static_cast<std::size_t>(stageCount_++)];
    stage = Stage {};
    stage.step = step;
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
    case Step::Utf82Euc:
        return detail::AppendUtf8AsEuc(input, atEnd, out);
    case Step::Utf82Jis:
        return detail::AppendUtf8AsJis(input, atEnd, stage.state, out);
    case Step::Jis2Utf8:
    case Step::Euc2Utf8:
        return RunTwoSteps(stage, input, atEnd, out);
    }
    return input.size();
}

std::size_t CodeStream::RunTwoSteps(Stage& stage, std::string_view input, bool atEnd, std::string& out)
{
    const bool jis = stage.step == Step::Jis2Utf8;
    std::size_t used = 0;
    if (!stage.twoSteps) {
        bool clean = true;
        const auto* p = reinterpret_cast<const unsigned char*>(input.data());
        used = jis ? JisToUtf8(p, input.size(), atEnd, stage.state, out, clean)
                   : EucToUtf8(p, input.size(), atEnd, out, clean);
        if (clean)
            return used;
        stage.twoSteps = true;
        input.remove_prefix(used);
    }
    // To Shift_JIS, then to UTF-8, with what the decoder held in front.
    stage.sjis.assign(stage.sjisHeld);
    used += jis ? detail::Jis2SjisBlock(input, atEnd, stage.state, stage.sjis)
                : detail::Euc2SjisBlock(input, atEnd, stage.state, stage.sjis);
    const std::size_t decoded = AppendCp932AsUtf8(stage.sjis, atEnd, BadInput::Replace, out);
    stage.sjisHeld.assign(stage.sjis, decoded);
    return used;
}

void CodeStream::Feed(Stage& stage, std::string_view input, bool atEnd, std::string& out)
{
    if ((stage.step == Step::Utf82Sjis || stage.step == Step::Utf82Euc || stage.step == Step::Utf82Jis)
        && stage.atStart) {
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
