#pragma once

// Reading IMAP responses (RFC 3501, RFC 9051) and writing the few arguments
// the client sends. A response arrives as the text of its lines and the
// literals ({n}) between them; ParseImapResponse turns it into what the
// client acts on. Nothing here throws or reads past its input: a response
// that cannot be read is Kind::Bad, and every step moves forward, so the
// cost stays linear in the response's size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mail {

// A literal as the client read it: the bytes it kept, as sent.
struct ImapLiteral {
    enum class Kept {
        Whole,
        // Longer than the client keeps: bytes holds its start.
        OverLimit,
        // One of its lines was over the line length limit: bytes is
        // incomplete.
        LongLine,
    };
    std::string bytes;
    Kept kept = Kept::Whole;
};

// One response as read: pieces[i] is the line text before literals[i]
// (without line ends; a piece that precedes a literal ends with its
// "{n}"); there is one piece more than literals.
struct ImapResponseText {
    std::vector<std::string> pieces;
    std::vector<ImapLiteral> literals;
};

// A BODY[section] value of a FETCH response.
struct ImapFetchBody {
    // The section in capitals: "" for BODY[], "HEADER.FIELDS (SUBJECT)".
    std::string section;
    // The string (quoted or literal); NIL gives "".
    std::string bytes;
    ImapLiteral::Kept kept = ImapLiteral::Kept::Whole;
};

struct ImapResponse {
    enum class Kind { Tagged, Untagged, Continuation, Bad };
    Kind kind = Kind::Bad;
    std::string tag;
    // The response's name in capitals: OK, NO, BAD, BYE, PREAUTH,
    // CAPABILITY, ENABLED, EXISTS, RECENT, EXPUNGE, FETCH, … ("" for a
    // continuation).
    std::string name;
    // The number before the name ("* 3 EXISTS").
    std::uint32_t number = 0;
    // The status text as the server wrote it, response code included (a
    // continuation's text: its challenge).
    std::string text;
    // The response code's name in capitals ("UIDVALIDITY", "CAPABILITY",
    // "ALERT" …) and what follows it inside the brackets.
    std::string code;
    std::string codeText;
    // The words after CAPABILITY or ENABLED, or inside a CAPABILITY code.
    std::vector<std::string> words;
    // FETCH: the UID (0: none given) and the BODY[...] values.
    std::uint32_t uid = 0;
    std::vector<ImapFetchBody> bodies;
};

// Parses one response; the literals' bytes are moved out of text.
ImapResponse ParseImapResponse(ImapResponseText& text);

// The size a line announces by ending in "{n}" or "{n+}"; nothing when it
// ends otherwise. A size past what 64 bits hold gives UINT64_MAX.
std::optional<std::uint64_t> LiteralAtEnd(std::string_view line);

// A number of 1 to 10 digits within 32 bits (UIDs, counts); nothing else.
std::optional<std::uint32_t> ParseImapNumber(std::string_view digits);

// The quoted form of text ("…" with \" and \\), or nothing when text needs
// a literal (line breaks, NUL, and bytes over 7F unless eightBit).
std::optional<std::string> QuotedImapString(std::string_view text, bool eightBit);

// A folder name for the wire, from the user's Shift_JIS text: UTF-8 where
// the server takes it, otherwise modified UTF-7 (RFC 3501 5.1.3).
std::string ImapFolderName(std::string_view sjisName, bool utf8);

// A set of UIDs in ascending order, runs written "a:b": "1:3,7,9:10".
std::string ImapUidSet(std::span<const std::uint32_t> ascendingUids);

} // namespace mail
