#pragma once

// One mail message as the reception run sees it: its header fields and the
// plain body text. MIME parts and uuencoded blocks are separated from the
// body and dropped; nothing is transfer-decoded.

#include "mail/HeaderFields.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

class Message {
public:
    void Clear();

    // Takes the header lines up to the first empty line; later lines are
    // ignored (the reply to a header fetch).
    void LoadHeaders(std::span<const std::string> lines);
    // Takes a whole message: the header lines up to the first empty line,
    // then the body lines. A uuencoded block that starts with a line of no
    // known scheme leaves the body empty and BodyError() set: one unreadable
    // mail must not stop a run from reading the mails after it.
    void LoadMessage(std::span<const std::string> lines);

    const std::vector<HeaderField>& Headers() const noexcept { return headers_; }
    // Value of the first field of that name (letter case ignored), or "".
    std::string HeaderValue(std::string_view name) const;
    std::string Subject() const { return HeaderValue("Subject"); }

    // The body: every remaining line followed by CR LF.
    const std::string& Body() const noexcept { return body_; }
    // Why the body could not be taken; "" when it could.
    const std::string& BodyError() const noexcept { return bodyError_; }
    // Every line of the last whole message loaded, headers included.
    const std::vector<std::string>& Lines() const noexcept { return lines_; }

private:
    void ParseBody(std::span<const std::string> lines);

    std::vector<HeaderField> headers_;
    std::string body_;
    std::string bodyError_;
    std::vector<std::string> lines_;
};

} // namespace mail
