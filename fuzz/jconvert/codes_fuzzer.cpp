// Fuzz entry point for code detection and the six converters: any bytes,
// with the first byte choosing the screening length and the dispatcher's
// codes. Beyond the sanitizers' checks, every output must stay within the
// size the conversion can produce.
#include "fuzz/FuzzRequire.h"
#include "jconvert/codes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace jconvert;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const unsigned selector = size > 0 ? data[0] : 0;

    STRICT_CHECK_LEN = (selector & 0x80) ? static_cast<int>(selector) - 0xC0 : 512;
    const int code = InCodeCheck(text);
    STRICT_CHECK_LEN = 512;
    require(code >= CODE_ASCII && code <= CODE_EUC_OR_SJIS);

    const std::size_t n = text.size();
    require(jis2euc(text).size() <= n);
    require(jis2sjis(text).size() <= n);
    require(euc2sjis(text).size() <= n);
    require(sjis2euc(text).size() <= 2 * n);
    require(euc2jis83(text).size() <= 5 * n);
    require(sjis2jis83(text).size() <= 5 * n);

    for (int out : { CODE_JIS83, CODE_EUC, CODE_SJIS })
        ConvertJCode(text, out);
    StrictConvertJCode(text, static_cast<int>(selector % 10) - 1, static_cast<int>((selector >> 4) % 8));

    if (size >= 2) {
        require(ToSjis(data[0], data[1]).size() == 2);
        require(ToJis(data[0], data[1]).size() == 2);
    }
    return 0;
}
