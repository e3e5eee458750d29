// Fuzz entry point for code page 932 <-> UTF-8 in both directions, their
// byte-keeping forms and the block-wise stream. Any bytes, read as CP932 and
// as UTF-8; the first byte chooses where a block boundary falls and which
// codes the stream converts between. Beyond the sanitizers' checks: decoded
// text is well-formed UTF-8, encoded text is whole CP932 characters, bytes
// kept are given back, and block-wise equals whole.
#include "fuzz/FuzzRequire.h"
#include "jconvert/CodeStream.h"
#include "jconvert/codes.h"
#include "jconvert/cp932.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using fuzz::require;

namespace {

std::string Streamed(const std::string& text, int in, int out)
{
    jconvert::CodeStream stream(in, out);
    std::string result;
    stream.Write(text, result);
    stream.Finish(result);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jconvert;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t n = text.size();
    const std::size_t split = n > 0 ? data[0] % (n + 1) : 0;
    const std::string_view replacement = "\xEF\xBF\xBD";

    // CP932 to UTF-8: always well formed, at most three bytes per byte.
    const std::string utf8 = Cp932ToUtf8(text);
    require(ValidUtf8Prefix(utf8) == utf8.size() && utf8.size() <= 3 * n);

    // UTF-8 to CP932: whole characters (decoding them finds nothing bad), at
    // most two bytes per byte.
    const std::string cp932 = Utf8ToCp932(text);
    require(cp932.size() <= 2 * n);
    require(Cp932ToUtf8(cp932).find(replacement) == std::string::npos);

    // Kept bytes: the text decodes the same after a round trip, and the
    // round trip is stable.
    const std::string kept = Cp932ToUtf8KeepingBytes(text);
    const std::string again = Utf8ToCp932KeepingBytes(kept);
    require(Cp932ToUtf8KeepingBytes(again) == kept);
    require(Utf8ToCp932KeepingBytes(Cp932ToUtf8KeepingBytes(again)) == again);

    // Block-wise, split where the first byte says, as whole.
    for (BadInput bad : { BadInput::Replace, BadInput::KeepBytes }) {
        std::string decoded, encoded;
        const std::size_t usedDecoding
            = AppendCp932AsUtf8(std::string_view(text).substr(0, split), false, bad, decoded);
        AppendCp932AsUtf8(std::string_view(text).substr(usedDecoding), true, bad, decoded);
        require(decoded == (bad == BadInput::Replace ? utf8 : kept));
        const std::size_t usedEncoding
            = AppendUtf8AsCp932(std::string_view(text).substr(0, split), false, bad, encoded);
        AppendUtf8AsCp932(std::string_view(text).substr(usedEncoding), true, bad, encoded);
        require(encoded == (bad == BadInput::Replace ? cp932 : Utf8ToCp932KeepingBytes(text)));
    }

    static const int kCodes[] = { CODE_JIS83, CODE_EUC, CODE_SJIS, CODE_UTF8 };
    const int in = n > 1 ? kCodes[data[1] % 4] : CODE_SJIS;
    const int out = n > 1 ? kCodes[(data[1] >> 2) % 4] : CODE_UTF8;
    std::string whole, blocks;
    CodeStream once(in, out);
    once.Write(text, whole);
    once.Finish(whole);
    CodeStream twice(in, out);
    twice.Write(std::string_view(text).substr(0, split), blocks);
    twice.Write(std::string_view(text).substr(split), blocks);
    twice.Finish(blocks);
    require(whole == blocks);
    // The one-pass conversions against the two steps they stand for.
    require(Streamed(text, CODE_EUC, CODE_UTF8) == Cp932ToUtf8(euc2sjis(text)));
    require(Streamed(text, CODE_JIS83, CODE_UTF8) == Cp932ToUtf8(jis2sjis(text)));
    const bool byteOrderMark = text.rfind("\xEF\xBB\xBF", 0) == 0;
    const std::string sjis = Utf8ToCp932(byteOrderMark ? text.substr(3) : text);
    require(Streamed(text, CODE_UTF8, CODE_EUC) == sjis2euc(sjis));
    require(Streamed(text, CODE_UTF8, CODE_JIS83) == sjis2jis83(sjis));

    const int detected = DetectTextCode(text, (size & 1) != 0);
    require(detected == CODE_UTF8 || (detected >= 0 && detected <= 6));
    return 0;
}
