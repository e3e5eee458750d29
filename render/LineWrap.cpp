#include "render/LineWrap.h"

#include "jconvert/sjis.h"

namespace render {
namespace {

// ByteKindAt on the part of text starting at offset.
int KindAt(const std::string& text, std::size_t offset, std::size_t pos)
{
    if (pos < 1 || text.size() - offset < pos)
        return -1;
    int kind = 0;
    for (std::size_t i = 0; i < pos; ++i) {
        const auto byte = static_cast<unsigned char>(text[offset + i]);
        // The byte after a lead byte always belongs to it, whatever its own
        // value (trail bytes 40–7E look like single-byte characters).
        if (kind == 1)
            kind = 2;
        else
            kind = jconvert::IsSjisLeadByte(byte) ? 1 : 0;
    }
    return kind;
}

} // namespace

int ByteKindAt(const std::string& text, int pos)
{
    if (pos < 1)
        return -1;
    return KindAt(text, 0, static_cast<std::size_t>(pos));
}

void SplitLine(const std::string& text, int limit, std::vector<std::string>& lines)
{
    lines.clear();
    const std::size_t max = static_cast<std::size_t>(limit < 2 ? 2 : limit);
    std::size_t offset = 0;
    while (text.size() - offset > max) {
        const std::size_t cut = KindAt(text, offset, max) == 1 ? max - 1 : max;
        lines.push_back(text.substr(offset, cut));
        offset += cut;
    }
    lines.push_back(text.substr(offset));
}

} // namespace render
