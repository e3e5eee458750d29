#include "mail/MimeBody.h"

#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "jconvert/charset.h"
#include "jconvert/coders.h"
#include "jconvert/quoted_printable.h"
#include "mail/HtmlText.h"
#include "mail/Texts.h"
#include "mail/UuLines.h"

#include <map>
#include <optional>

namespace mail {
namespace {

// Deeper nesting than any mail program writes is taken as having no text,
// so that a crafted message cannot exhaust the stack.
constexpr int kMaxDepth = 32;

using Lines = std::span<const std::string>;

std::string LowerCopy(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = jconvert::AsciiLower(c);
    return out;
}

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsWhite(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsWhite(s.back()))
        s.remove_suffix(1);
    return s;
}

struct Entity {
    std::string type = "text"; // lower case
    std::string subtype = "plain";
    std::map<std::string, std::string> params; // names in lower case
    std::string encoding; // Content-Transfer-Encoding, lower case
    bool attachment = false;
    std::size_t bodyStart = 0; // index of the first body line in the lines
};

// RFC 2231 extended values: charset'language'%XX-encoded text. The values
// this reads (boundary, charset, format, delsp) are ASCII, so the charset
// part is not needed.
std::string PercentDecode(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && jconvert::AsciiHexValue(s[i + 1]) >= 0
            && jconvert::AsciiHexValue(s[i + 2]) >= 0) {
            out += static_cast<char>(
                jconvert::AsciiHexValue(s[i + 1]) * 16 + jconvert::AsciiHexValue(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Parameters of a Content-Type or Content-Disposition value after its first
// ';': quoted or not, comments skipped, RFC 2231 sections joined in order.
std::map<std::string, std::string> ParseParams(std::string_view v)
{
    struct Section {
        std::string value;
        bool extended = false;
    };
    std::map<std::string, std::map<int, Section>> sections;
    std::size_t i = 0;
    while (i < v.size()) {
        while (i < v.size() && (IsWhite(v[i]) || v[i] == ';'))
            ++i;
        if (i < v.size() && v[i] == '(') { // a comment
            int depth = 0;
            for (; i < v.size(); ++i) {
                if (v[i] == '(')
                    ++depth;
                else if (v[i] == ')' && --depth == 0) {
                    ++i;
                    break;
                }
            }
            continue;
        }
        const std::size_t nameStart = i;
        while (i < v.size() && v[i] != '=' && v[i] != ';')
            ++i;
        std::string name = LowerCopy(Trim(v.substr(nameStart, i - nameStart)));
        if (i >= v.size() || v[i] != '=')
            continue;
        ++i;
        while (i < v.size() && IsWhite(v[i]))
            ++i;
        std::string value;
        if (i < v.size() && v[i] == '"') {
            for (++i; i < v.size() && v[i] != '"'; ++i) {
                if (v[i] == '\\' && i + 1 < v.size())
                    ++i;
                value += v[i];
            }
            ++i;
        } else {
            const std::size_t start = i;
            while (i < v.size() && v[i] != ';' && !IsWhite(v[i]))
                ++i;
            value = std::string(v.substr(start, i - start));
        }
        if (name.empty())
            continue;
        // name, name*, name*N, name*N*
        Section section { std::move(value), false };
        if (name.back() == '*') {
            section.extended = true;
            name.pop_back();
        }
        int index = 0;
        const std::size_t star = name.find('*');
        if (star != std::string::npos) {
            const std::string digits = name.substr(star + 1);
            name.resize(star);
            if (digits.empty() || digits.size() > 3
                || digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            index = std::stoi(digits);
        }
        sections[name].emplace(index, std::move(section));
    }
    std::map<std::string, std::string> params;
    for (auto& [name, parts] : sections) {
        std::string joined;
        for (auto& [index, section] : parts) {
            std::string_view text = section.value;
            if (section.extended && index == 0) {
                // Drop charset'language'.
                const std::size_t q1 = text.find('\'');
                const std::size_t q2 = q1 == std::string_view::npos ? q1 : text.find('\'', q1 + 1);
                if (q2 != std::string_view::npos)
                    text.remove_prefix(q2 + 1);
            }
            joined += section.extended ? PercentDecode(text) : std::string(text);
        }
        params.emplace(name, std::move(joined));
    }
    return params;
}

// Reads the header of the entity whose lines start at begin; the body starts
// after the first empty line.
Entity ReadEntity(Lines lines, std::size_t begin, std::size_t end)
{
    Entity entity;
    std::string contentType;
    std::string disposition;
    std::string* current = nullptr;
    std::size_t i = begin;
    for (; i < end && !lines[i].empty(); ++i) {
        const std::string& line = lines[i];
        if (line.front() == ' ' || line.front() == '\t') {
            if (current != nullptr) {
                *current += ' ';
                *current += Trim(line);
            }
            continue;
        }
        current = nullptr;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string name = LowerCopy(Trim(std::string_view(line).substr(0, colon)));
        std::string* field = nullptr;
        if (name == "content-type")
            field = &contentType;
        else if (name == "content-disposition")
            field = &disposition;
        else if (name == "content-transfer-encoding")
            field = &entity.encoding;
        if (field != nullptr && field->empty()) { // the first of a name counts
            *field = std::string(Trim(std::string_view(line).substr(colon + 1)));
            current = field;
        }
    }
    entity.bodyStart = i < end ? i + 1 : end;
    entity.encoding = LowerCopy(Trim(entity.encoding));

    const std::string_view type = Trim(std::string_view(contentType).substr(0, contentType.find(';')));
    const std::size_t slash = type.find('/');
    if (slash != std::string_view::npos && slash > 0 && slash + 1 < type.size()) {
        entity.type = LowerCopy(Trim(type.substr(0, slash)));
        entity.subtype = LowerCopy(Trim(type.substr(slash + 1)));
    }
    const std::size_t semi = contentType.find(';');
    if (semi != std::string::npos)
        entity.params = ParseParams(std::string_view(contentType).substr(semi + 1));
    entity.attachment = LowerCopy(Trim(disposition.substr(0, disposition.find(';')))) == "attachment";
    return entity;
}

struct Found {
    Entity entity;
    std::size_t bodyEnd = 0;
    // A part of a multipart: the line end before the next delimiter belongs
    // to the delimiter, not to the text.
    bool inMultipart = false;
};

// A line is a delimiter when it is "--" and the boundary, then only blanks;
// closing when "--" follows the boundary.
enum class Delimiter { None, Part, Close };

Delimiter ReadDelimiter(std::string_view line, std::string_view boundary)
{
    if (line.size() < boundary.size() + 2 || line[0] != '-' || line[1] != '-'
        || line.substr(2, boundary.size()) != boundary)
        return Delimiter::None;
    std::string_view rest = line.substr(boundary.size() + 2);
    Delimiter kind = Delimiter::Part;
    if (rest.size() >= 2 && rest[0] == '-' && rest[1] == '-') {
        kind = Delimiter::Close;
        rest.remove_prefix(2);
    }
    return Trim(rest).empty() ? kind : Delimiter::None;
}

// Searches the entity at [begin, end) depth first for the first text part
// of the given subtype that is not an attachment.
std::optional<Found> FindText(
    Lines lines, std::size_t begin, std::size_t end, std::string_view subtype, int depth)
{
    Entity entity = ReadEntity(lines, begin, end);
    if (entity.type == "multipart") {
        if (depth >= kMaxDepth)
            return std::nullopt;
        const auto b = entity.params.find("boundary");
        if (b != entity.params.end() && !b->second.empty()) {
            const std::string& boundary = b->second;
            std::size_t partStart = 0; // 0: before the first delimiter
            for (std::size_t i = entity.bodyStart; i <= end; ++i) {
                const Delimiter kind = i < end ? ReadDelimiter(lines[i], boundary) : Delimiter::Close;
                if (kind == Delimiter::None)
                    continue;
                if (partStart != 0) {
                    if (auto found = FindText(lines, partStart, i, subtype, depth + 1))
                        return found;
                }
                if (kind == Delimiter::Close)
                    break;
                partStart = i + 1;
            }
            return std::nullopt;
        }
        // A multipart without a boundary cannot be split; its body is read
        // as plain text rather than dropped.
        entity.type = "text";
        entity.subtype = "plain";
    }
    if (entity.type == "text" && entity.subtype == subtype && !entity.attachment)
        return Found { std::move(entity), end, depth > 0 };
    return std::nullopt;
}

std::string TransferDecode(Lines lines, const Found& found)
{
    const Entity& entity = found.entity;
    const std::size_t end = found.bodyEnd;
    std::string raw;
    if (entity.encoding == "base64") {
        for (std::size_t i = entity.bodyStart; i < end; ++i)
            raw += lines[i];
        return jconvert::DecodeBase64(raw);
    }
    for (std::size_t i = entity.bodyStart; i < end; ++i) {
        raw += lines[i];
        if (i + 1 < end || !found.inMultipart)
            raw += "\r\n";
    }
    if (entity.encoding == "quoted-printable")
        return jconvert::DecodeQuotedPrintable(raw);
    return raw; // 7bit, 8bit, binary and anything unknown
}

std::vector<std::string> SplitText(std::string_view text)
{
    if (text.empty())
        return {};
    return SplitMessageLines(text);
}

// Joins the soft line breaks of format=flowed text: a line ending in a blank
// goes on in the next line of the same quote depth. The signature separator
// "-- " is never flowed; a leading blank (space stuffing) is removed.
std::vector<std::string> Unflow(const std::vector<std::string>& lines, bool delsp)
{
    std::vector<std::string> out;
    bool open = false; // the last output line flows on
    std::size_t openDepth = 0;
    for (const std::string& line : lines) {
        std::size_t depth = 0;
        while (depth < line.size() && line[depth] == '>')
            ++depth;
        std::string content = line.substr(depth);
        if (!content.empty() && content.front() == ' ')
            content.erase(0, 1);
        const bool signature = content == "-- ";
        const bool flowed = !signature && !content.empty() && content.back() == ' ';
        if (flowed && delsp)
            content.pop_back();
        if (open && depth == openDepth && !signature) {
            out.back() += content;
        } else {
            std::string prefix(depth, '>');
            if (depth > 0 && !content.empty())
                prefix += ' ';
            out.push_back(prefix + content);
        }
        open = flowed;
        openDepth = depth;
    }
    return out;
}

std::string Param(const Entity& entity, const std::string& name)
{
    const auto it = entity.params.find(name);
    return it == entity.params.end() ? std::string() : std::string(Trim(it->second));
}

} // namespace

std::vector<std::string> SplitMessageLines(std::string_view message)
{
    // The line end of the last line opens no new line.
    const std::vector<std::string_view> views = jconvert::SplitLines(message);
    return { views.begin(), views.end() };
}

MimeBody DecodeMimeBody(std::span<const std::string> lines)
{
    MimeBody body;
    bool html = false;
    std::optional<Found> found = FindText(lines, 0, lines.size(), "plain", 0);
    if (!found) {
        found = FindText(lines, 0, lines.size(), "html", 0);
        html = true;
    }
    if (!found)
        return body;
    const Entity& entity = found->entity;
    std::string text = jconvert::CharsetToSjis(TransferDecode(lines, *found), Param(entity, "charset"));
    if (html)
        text = HtmlToText(text);
    std::vector<std::string> textLines = SplitText(text);
    if (!html && LowerCopy(Param(entity, "format")) == "flowed")
        textLines = Unflow(textLines, LowerCopy(Param(entity, "delsp")) == "yes");

    for (std::size_t i = 0; i < textLines.size(); ++i) {
        if (IsUuBeginLine(textLines[i])) {
            if (i + 1 >= textLines.size() || !IsKnownUuDataLine(textLines[i + 1])) {
                body.text.clear();
                body.error = texts::kUnknownUuScheme;
                return body;
            }
            while (i < textLines.size() && !IsUuEndLine(textLines[i]))
                ++i;
            continue;
        }
        body.text += textLines[i];
        body.text += "\r\n";
    }
    return body;
}

} // namespace mail
