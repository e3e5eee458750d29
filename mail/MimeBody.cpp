#include "mail/MimeBody.h"

#include "jconvert/AsciiText.h"
#include "jconvert/TextLines.h"
#include "jconvert/charset.h"
#include "jconvert/coders.h"
#include "jconvert/quoted_printable.h"
#include "mail/HeaderFields.h"
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

using jconvert::AsciiLowerCopy;
using jconvert::TrimBlanks;

struct Entity {
    std::string type = "text"; // lower case
    std::string subtype = "plain";
    std::map<std::string, std::string> params; // names in lower case
    std::string encoding; // Content-Transfer-Encoding, lower case
    bool attachment = false;
    std::size_t bodyStart = 0; // index of the first body line in the lines
};

// Reads the header of the entity whose lines start at begin; the body starts
// after the first empty line.
Entity ReadEntity(Lines lines, std::size_t begin, std::size_t end)
{
    Entity entity;
    std::vector<HeaderField> fields;
    const std::size_t blank = begin + ReadHeaderFields(lines.subspan(begin, end - begin), fields);
    entity.bodyStart = blank < end ? blank + 1 : end;
    // The first field of a name counts.
    auto first = [&fields](std::string_view name) {
        for (const HeaderField& field : fields)
            if (jconvert::EqualsIgnoringAsciiCase(field.name, name))
                return std::string_view(field.value);
        return std::string_view();
    };
    const std::string_view contentType = first("Content-Type");
    entity.encoding = AsciiLowerCopy(first("Content-Transfer-Encoding"));

    const std::string_view type = TrimBlanks(contentType.substr(0, contentType.find(';')));
    const std::size_t slash = type.find('/');
    if (slash != std::string_view::npos && slash > 0 && slash + 1 < type.size()) {
        entity.type = AsciiLowerCopy(TrimBlanks(type.substr(0, slash)));
        entity.subtype = AsciiLowerCopy(TrimBlanks(type.substr(slash + 1)));
    }
    entity.params = ReadHeaderParams(contentType);
    const std::string_view disposition = first("Content-Disposition");
    entity.attachment
        = AsciiLowerCopy(TrimBlanks(disposition.substr(0, disposition.find(';')))) == "attachment";
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
    return TrimBlanks(rest).empty() ? kind : Delimiter::None;
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
    return jconvert::SplitLines<std::string>(text);
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
    return it == entity.params.end() ? std::string() : std::string(TrimBlanks(it->second));
}

} // namespace

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
    if (!html && AsciiLowerCopy(Param(entity, "format")) == "flowed")
        textLines = Unflow(textLines, AsciiLowerCopy(Param(entity, "delsp")) == "yes");

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
