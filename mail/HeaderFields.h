#pragma once

// Reading a mail header: its fields, and the parameters of a field such as
// Content-Type. The message as the reception run sees it and the MIME
// reading of a memo mail both read headers through these.

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

struct HeaderField {
    std::string name; // as written
    std::string value; // continuation lines joined by one blank, trimmed
};

// The header fields in lines up to the first empty line (or the end).
// A line starting with a blank or tab continues the field before it (one
// without a field before it belongs to nothing); a line without ':' is no
// field. Returns the index of the empty line, or lines.size().
std::size_t ReadHeaderFields(std::span<const std::string> lines, std::vector<HeaderField>& fields);

// The parameters of a field value after its first ';' ("text/plain;
// charset=utf-8; format=flowed"): names in lower case, values unquoted,
// comments skipped, RFC 2231 sections joined in order and their %XX
// decoded. The first of a name counts.
std::map<std::string, std::string> ReadHeaderParams(std::string_view value);

} // namespace mail
