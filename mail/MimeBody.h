#pragma once

// The memo text of a MIME mail: the text a reader of the mail sees, found in
// the message's part structure, transfer-decoded and converted to Shift_JIS.

#include <span>
#include <string>

namespace mail {

struct MimeBody {
    // Shift_JIS lines, each followed by CR LF; uuencoded blocks left out.
    std::string text;
    // Why no text could be taken (then text is empty); "" when it could.
    std::string error;
};

// The body of a whole message (header lines, an empty line, body lines, as
// the POP3 client delivers them; a saved message gives them through
// jconvert::SplitLines). The body is the first text/plain part that
// is not an attachment, at any depth of multipart nesting; failing that, the
// first text/html part reduced to text; failing that, nothing. Base64 and
// quoted-printable are decoded, format=flowed lines are joined, and the
// part's charset is converted (no charset or an unknown one: the codec's
// detection). Never throws for any input.
MimeBody DecodeMimeBody(std::span<const std::string> lines);

} // namespace mail
