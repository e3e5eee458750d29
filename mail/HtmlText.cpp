#include "mail/HtmlText.h"

#include "jconvert/charset.h"
#include "jconvert/cp932.h"

#include <array>
#include <cctype>
#include <vector>

namespace mail {
namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

struct Entity {
    std::string_view name;
    unsigned long codePoint;
};

constexpr std::array<Entity, 29> kEntities { {
    { "amp", '&' },
    { "lt", '<' },
    { "gt", '>' },
    { "quot", '"' },
    { "apos", '\'' },
    { "nbsp", 0xA0 },
    { "copy", 0xA9 },
    { "reg", 0xAE },
    { "trade", 0x2122 },
    { "yen", 0xA5 },
    { "euro", 0x20AC },
    { "deg", 0xB0 },
    { "plusmn", 0xB1 },
    { "times", 0xD7 },
    { "divide", 0xF7 },
    { "middot", 0xB7 },
    { "sect", 0xA7 },
    { "para", 0xB6 },
    { "laquo", 0xAB },
    { "raquo", 0xBB },
    { "hellip", 0x2026 },
    { "mdash", 0x2014 },
    { "ndash", 0x2013 },
    { "lsquo", 0x2018 },
    { "rsquo", 0x2019 },
    { "ldquo", 0x201C },
    { "rdquo", 0x201D },
    { "bull", 0x2022 },
    { "larr", 0x2190 },
} };

// The code point of the reference starting at html[at] ('&'), and the
// position after its ';'; false when it is not a reference this knows.
bool ReadReference(std::string_view html, std::size_t at, unsigned long& codePoint, std::size_t& end)
{
    // No reference this knows is longer than "&#x10FFFF;".
    const std::size_t found = html.substr(at + 1, 12).find(';');
    if (found == std::string_view::npos)
        return false;
    const std::size_t semi = at + 1 + found;
    std::string_view name = html.substr(at + 1, semi - at - 1);
    end = semi + 1;
    if (!name.empty() && name.front() == '#') {
        name.remove_prefix(1);
        int base = 10;
        if (!name.empty() && (name.front() == 'x' || name.front() == 'X')) {
            base = 16;
            name.remove_prefix(1);
        }
        if (name.empty())
            return false;
        unsigned long value = 0;
        for (char c : name) {
            int digit = -1;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (base == 16 && Lower(c) >= 'a' && Lower(c) <= 'f')
                digit = Lower(c) - 'a' + 10;
            if (digit < 0)
                return false;
            value = value * static_cast<unsigned long>(base) + static_cast<unsigned long>(digit);
            if (value > 0x10FFFF)
                return false;
        }
        if (value == 0)
            return false;
        codePoint = value;
        return true;
    }
    for (const Entity& entity : kEntities) {
        if (name == entity.name) {
            codePoint = entity.codePoint;
            return true;
        }
    }
    return false;
}

class TextBuilder {
public:
    void Text(std::string_view bytes)
    {
        for (char c : bytes) {
            if (IsSpace(c)) {
                pendingSpace_ = !line_.empty();
                continue;
            }
            Flush();
            line_ += c;
        }
    }
    // A blank that is not folded into its neighbours (&nbsp;).
    void HardSpace()
    {
        Flush();
        line_ += ' ';
    }
    void Break(bool evenIfEmpty)
    {
        pendingSpace_ = false;
        while (!line_.empty() && line_.back() == ' ')
            line_.pop_back();
        if (line_.empty() && !evenIfEmpty)
            return;
        lines_.push_back(std::move(line_));
        line_.clear();
    }
    std::string Finish()
    {
        Break(false);
        std::size_t first = 0;
        std::size_t last = lines_.size();
        while (first < last && lines_[first].empty())
            ++first;
        while (last > first && lines_[last - 1].empty())
            --last;
        std::string out;
        for (std::size_t i = first; i < last; ++i) {
            if (i > first)
                out += "\r\n";
            out += lines_[i];
        }
        return out;
    }

private:
    void Flush()
    {
        if (pendingSpace_)
            line_ += ' ';
        pendingSpace_ = false;
    }
    std::string line_;
    std::vector<std::string> lines_;
    bool pendingSpace_ = false;
};

bool IsBlockTag(std::string_view name)
{
    static constexpr std::array<std::string_view, 14> kBlocks { "p", "div", "li", "tr", "h1", "h2", "h3",
        "h4", "h5", "h6", "ul", "ol", "table", "blockquote" };
    for (std::string_view block : kBlocks) {
        if (name == block)
            return true;
    }
    return false;
}

// Position after the '>' that ends the tag starting at html[at] ('<'),
// quoted attribute values skipped; the end of html when there is none.
std::size_t TagEnd(std::string_view html, std::size_t at)
{
    char quote = 0;
    for (std::size_t i = at + 1; i < html.size(); ++i) {
        const char c = html[i];
        if (quote != 0) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i + 1;
        }
    }
    return html.size();
}

// Position of the end tag </name ...> at or after from, past its '>'.
std::size_t SkipElement(std::string_view html, std::size_t from, std::string_view name)
{
    for (std::size_t i = html.find("</", from); i != std::string_view::npos; i = html.find("</", i + 2)) {
        std::size_t k = 0;
        while (k < name.size() && i + 2 + k < html.size() && Lower(html[i + 2 + k]) == name[k])
            ++k;
        if (k == name.size())
            return TagEnd(html, i);
    }
    return html.size();
}

} // namespace

std::string HtmlToText(std::string_view html)
{
    TextBuilder out;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '&') {
            unsigned long codePoint = 0;
            std::size_t end = 0;
            if (ReadReference(html, i, codePoint, end)) {
                if (codePoint == 0xA0)
                    out.HardSpace();
                else if (codePoint < 0x80)
                    out.Text(std::string(1, static_cast<char>(codePoint)));
                else
                    out.Text(jconvert::Utf8ToCp932(jconvert::CodePointToUtf8(codePoint)));
                i = end;
                continue;
            }
            out.Text("&");
            ++i;
            continue;
        }
        if (c != '<') {
            std::size_t next = i;
            while (next < html.size() && html[next] != '<' && html[next] != '&')
                ++next;
            out.Text(html.substr(i, next - i));
            i = next;
            continue;
        }
        if (html.substr(i, 4) == "<!--") {
            const std::size_t close = html.find("-->", i + 4);
            i = close == std::string_view::npos ? html.size() : close + 3;
            continue;
        }
        const char after = i + 1 < html.size() ? html[i + 1] : ' ';
        if (std::isalpha(static_cast<unsigned char>(after)) == 0 && after != '/' && after != '!'
            && after != '?') {
            out.Text("<"); // "a < b": a '<' that opens no tag is text
            ++i;
            continue;
        }
        const std::size_t end = TagEnd(html, i);
        std::size_t k = i + 1;
        const bool closing = k < html.size() && html[k] == '/';
        if (closing)
            ++k;
        std::string name;
        while (k < end && (std::isalnum(static_cast<unsigned char>(html[k])) != 0))
            name += Lower(html[k++]);
        i = end;
        if (!closing && (name == "script" || name == "style" || name == "head" || name == "title")) {
            i = SkipElement(html, i, name);
            continue;
        }
        if (name == "br")
            out.Break(true);
        else if (IsBlockTag(name))
            out.Break(false);
    }
    return out.Finish();
}

} // namespace mail
