#include "mail/ImapParser.h"

#include "jconvert/AsciiText.h"
#include "jconvert/cp932.h"

#include <limits>

namespace mail {

namespace {

// Lists nested deeper than this are no real response's.
constexpr int kMaxDepth = 32;

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// Characters of atoms as servers write them, flags (\Seen) included.
bool IsAtomChar(int c)
{
    return c > 0x20 && c < 0x7f && c != '(' && c != ')' && c != '{' && c != '"' && c != '[' && c != ']';
}

// Walks the pieces of a response and the literals between them.
class Cursor {
public:
    explicit Cursor(ImapResponseText& text)
        : text_(text)
    {
    }

    // The next character of the current piece; -1 at its end.
    int Peek() const
    {
        const std::string& piece = text_.pieces[piece_];
        return at_ < piece.size() ? static_cast<unsigned char>(piece[at_]) : -1;
    }
    bool Eat(char c)
    {
        if (Peek() != static_cast<unsigned char>(c))
            return false;
        ++at_;
        return true;
    }
    bool AtEnd() const { return piece_ + 1 == text_.pieces.size() && Peek() < 0; }
    bool InLastPiece() const { return piece_ + 1 == text_.pieces.size(); }
    std::string_view Rest() const { return std::string_view(text_.pieces[piece_]).substr(at_); }
    void Skip(std::size_t n) { at_ += n; }
    void SkipToPieceEnd() { at_ = text_.pieces[piece_].size(); }

    std::string_view Atom()
    {
        const std::size_t start = at_;
        while (IsAtomChar(Peek()))
            ++at_;
        return std::string_view(text_.pieces[piece_]).substr(start, at_ - start);
    }

    // A literal starting here: the rest of the piece is its "{n}" and a
    // literal follows.
    ImapLiteral* Literal()
    {
        if (Peek() != '{' || piece_ >= text_.literals.size() || !LiteralAtEnd(Rest())
            || Rest().rfind('{') != 0 || Rest().find('}') + 1 != Rest().size())
            return nullptr;
        ImapLiteral* literal = &text_.literals[piece_];
        ++piece_;
        at_ = 0;
        return literal;
    }

private:
    ImapResponseText& text_;
    std::size_t piece_ = 0;
    std::size_t at_ = 0;
};

// A quoted string, a literal or NIL.
bool ReadString(Cursor& c, std::string& out, ImapLiteral::Kept& kept)
{
    kept = ImapLiteral::Kept::Whole;
    out.clear();
    if (c.Eat('"')) {
        for (;;) {
            int ch = c.Peek();
            if (ch < 0)
                return false;
            c.Skip(1);
            if (ch == '"')
                return true;
            if (ch == '\\') {
                ch = c.Peek();
                if (ch < 0)
                    return false;
                c.Skip(1);
            }
            out += static_cast<char>(ch);
        }
    }
    if (c.Peek() == '{') {
        ImapLiteral* literal = c.Literal();
        if (literal == nullptr)
            return false;
        out = std::move(literal->bytes);
        kept = literal->kept;
        return true;
    }
    return jconvert::EqualsIgnoringAsciiCase(c.Atom(), "NIL");
}

// Any value (atom, number, string, list), passed over.
bool SkipValue(Cursor& c, int depth)
{
    if (depth > kMaxDepth)
        return false;
    if (c.Eat('(')) {
        for (;;) {
            while (c.Eat(' ')) { }
            if (c.Eat(')'))
                return true;
            if (!SkipValue(c, depth + 1))
                return false;
        }
    }
    if (c.Peek() == '"' || c.Peek() == '{') {
        std::string ignored;
        ImapLiteral::Kept kept;
        return ReadString(c, ignored, kept);
    }
    bool any = false;
    for (int ch = c.Peek(); ch > 0x20 && ch != '(' && ch != ')' && ch != '"' && ch != '{'; ch = c.Peek()) {
        c.Skip(1);
        any = true;
    }
    return any;
}

std::vector<std::string> Words(std::string_view text)
{
    std::vector<std::string> words;
    for (const std::string_view word : jconvert::SplitWords(text))
        words.push_back(Upper(word));
    return words;
}

// What follows OK, NO, BAD, BYE or PREAUTH: an optional [code], then text.
bool ReadStatusText(Cursor& c, ImapResponse& r)
{
    c.Eat(' ');
    if (!c.InLastPiece())
        return false;
    r.text = c.Rest();
    std::string_view text = r.text;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos)
            return false;
        const std::string_view inner = text.substr(1, close - 1);
        const std::size_t space = inner.find(' ');
        r.code = Upper(inner.substr(0, space));
        r.codeText = space == std::string_view::npos ? std::string_view() : inner.substr(space + 1);
        if (r.code == "CAPABILITY")
            r.words = Words(r.codeText);
    }
    c.SkipToPieceEnd();
    return true;
}

bool ReadFetch(Cursor& c, ImapResponse& r)
{
    if (!c.Eat(' ') || !c.Eat('('))
        return false;
    for (;;) {
        while (c.Eat(' ')) { }
        if (c.Eat(')'))
            return c.AtEnd();
        const std::string name = Upper(c.Atom());
        if (name.empty())
            return false;
        if (name == "UID") {
            if (!c.Eat(' '))
                return false;
            const std::optional<std::uint32_t> uid = ParseImapNumber(c.Atom());
            if (!uid)
                return false;
            r.uid = *uid;
        } else if ((name == "BODY" || name == "BINARY") && c.Eat('[')) {
            const std::string_view rest = c.Rest();
            const std::size_t close = rest.find(']');
            if (close == std::string_view::npos)
                return false;
            ImapFetchBody body;
            body.section = Upper(rest.substr(0, close));
            c.Skip(close + 1);
            // A partial fetch's origin: "<n>".
            if (c.Eat('<')) {
                c.Atom();
                if (!c.Eat('>'))
                    return false;
            }
            if (!c.Eat(' ') || !ReadString(c, body.bytes, body.kept))
                return false;
            r.bodies.push_back(std::move(body));
        } else if (!c.Eat(' ') || !SkipValue(c, 0)) {
            return false;
        }
    }
}

void AppendModifiedBase64(std::u16string_view units, std::string& out)
{
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";
    std::uint32_t bits = 0;
    int count = 0;
    for (const char16_t unit : units) {
        for (const int shift : { 8, 0 }) {
            bits = (bits << 8) | ((unit >> shift) & 0xff);
            count += 8;
            while (count >= 6) {
                count -= 6;
                out += kAlphabet[(bits >> count) & 0x3f];
            }
        }
    }
    if (count > 0)
        out += kAlphabet[(bits << (6 - count)) & 0x3f];
}

// The UTF-16 units of well-formed UTF-8 (as the codec produces it).
std::u16string Utf16Of(std::string_view utf8)
{
    std::u16string units;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
        char32_t cp = length == 1 ? lead
            : length == 2         ? lead & 0x1f
            : length == 3         ? lead & 0x0f
                                  : lead & 0x07;
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
        i += length;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            units += static_cast<char16_t>(0xd800 + (cp >> 10));
            units += static_cast<char16_t>(0xdc00 + (cp & 0x3ff));
        } else {
            units += static_cast<char16_t>(cp);
        }
    }
    return units;
}

} // namespace

std::optional<std::uint64_t> LiteralAtEnd(std::string_view line)
{
    if (line.empty() || line.back() != '}')
        return std::nullopt;
    const std::size_t open = line.rfind('{');
    if (open == std::string_view::npos)
        return std::nullopt;
    std::string_view digits = line.substr(open + 1, line.size() - open - 2);
    if (!digits.empty() && digits.back() == '+')
        digits.remove_suffix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    // A size past what a number holds is as much too large as the largest.
    return jconvert::ParseDigits(digits).value_or(std::numeric_limits<std::uint64_t>::max());
}

std::optional<std::uint32_t> ParseImapNumber(std::string_view digits)
{
    const auto n = jconvert::ParseDigits(digits, std::numeric_limits<std::uint32_t>::max());
    return n ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*n)) : std::nullopt;
}

ImapResponse ParseImapResponse(ImapResponseText& text)
{
    ImapResponse r;
    if (text.pieces.size() != text.literals.size() + 1)
        return r;
    Cursor c(text);
    const auto bad = [] { return ImapResponse {}; };
    if (c.Eat('+')) {
        c.Eat(' ');
        if (!c.InLastPiece())
            return bad();
        r.kind = ImapResponse::Kind::Continuation;
        r.text = c.Rest();
        return r;
    }
    const bool untagged = c.Eat('*');
    if (!untagged)
        r.tag = c.Atom();
    if ((!untagged && r.tag.empty()) || !c.Eat(' '))
        return bad();
    r.kind = untagged ? ImapResponse::Kind::Untagged : ImapResponse::Kind::Tagged;
    std::string_view word = c.Atom();
    if (untagged && !word.empty() && word.front() >= '0' && word.front() <= '9') {
        const std::optional<std::uint32_t> number = ParseImapNumber(word);
        if (!number || !c.Eat(' '))
            return bad();
        r.number = *number;
        r.name = Upper(c.Atom());
        if (r.name.empty() || (r.name == "FETCH" && !ReadFetch(c, r)))
            return bad();
        return r;
    }
    r.name = Upper(word);
    const bool status = r.name == "OK" || r.name == "NO" || r.name == "BAD";
    if (status || (untagged && (r.name == "BYE" || r.name == "PREAUTH"))) {
        if (!ReadStatusText(c, r))
            return bad();
        return r;
    }
    if (!untagged || r.name.empty())
        return bad();
    if (r.name == "CAPABILITY" || r.name == "ENABLED") {
        if (!c.InLastPiece())
            return bad();
        r.words = Words(c.Rest());
    }
    // Other untagged responses (FLAGS, LIST, SEARCH, …) are not acted on.
    return r;
}

std::optional<std::string> QuotedImapString(std::string_view text, bool eightBit)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || c == '\r' || c == '\n' || (byte > 0x7f && !eightBit))
            return std::nullopt;
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string ImapFolderName(std::string_view sjisName, bool utf8)
{
    // INBOX is the one name with no letter case.
    if (jconvert::EqualsIgnoringAsciiCase(sjisName, "INBOX"))
        return "INBOX";
    const std::string name = jconvert::Cp932ToUtf8(sjisName);
    if (utf8)
        return name;
    // Printable ASCII stands for itself ("&" as "&-"); every other run is
    // its UTF-16 in Base64 with "," for "/", between "&" and "-".
    const std::u16string units = Utf16Of(name);
    std::string encoded;
    for (std::size_t i = 0; i < units.size();) {
        if (units[i] >= 0x20 && units[i] <= 0x7e) {
            encoded += units[i] == '&' ? std::string("&-") : std::string(1, static_cast<char>(units[i]));
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < units.size() && (units[end] < 0x20 || units[end] > 0x7e))
            ++end;
        encoded += '&';
        AppendModifiedBase64(std::u16string_view(units).substr(i, end - i), encoded);
        encoded += '-';
        i = end;
    }
    return encoded;
}

std::string ImapUidSet(std::span<const std::uint32_t> uids)
{
    std::string set;
    for (std::size_t i = 0; i < uids.size();) {
        std::size_t end = i;
        while (end + 1 < uids.size() && uids[end + 1] == uids[end] + 1)
            ++end;
        if (!set.empty())
            set += ',';
        set += std::to_string(uids[i]);
        if (end > i)
            set += ':' + std::to_string(uids[end]);
        i = end + 1;
    }
    return set;
}

} // namespace mail
