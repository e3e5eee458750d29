// Fuzz entry point for the MIME body reading of a memo mail and the HTML
// reduction, on arbitrary message bytes. The text is whole lines ended by
// CR LF with no other line break; an unreadable body gives no text.
#include "fuzz/FuzzRequire.h"
#include "jconvert/TextLines.h"
#include "mail/HtmlText.h"
#include "mail/MimeBody.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool OnlyCrLfBreaks(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))
            return false;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const mail::MimeBody body = mail::DecodeMimeBody(jconvert::SplitLines<std::string>(input));
    fuzz::require(body.error.empty() || body.text.empty());
    fuzz::require(body.text.empty() || body.text.ends_with("\r\n"));
    fuzz::require(OnlyCrLfBreaks(body.text));

    const std::string html = mail::HtmlToText(input);
    fuzz::require(OnlyCrLfBreaks(html));
    fuzz::require(!html.ends_with("\r\n") && !html.starts_with("\r\n"));
    return 0;
}
