// The date language: normalising typed date expressions, the display form,
// splitting the normalised form, and the check of every date.
#include "jconvert/cp932.h"
#include "schedule/DelimitedText.h"
#include "schedule/SjisSearch.h"
#include "schedule/TScheduleTable.h"
#include "schedule/Texts.h"

#include <array>

namespace schedule {

namespace {

// The words of the date language, written in UTF-8 and matched as Shift_JIS.
std::string Sjis(std::string_view utf8)
{
    return jconvert::Utf8ToCp932(utf8);
}

const std::string kYou = Sjis("曜");
const std::string kYoubi = Sjis("曜日");
const std::string kDai = Sjis("第");
const std::string kMaishuu = Sjis("毎週");
const std::string kMaitsuki = Sjis("毎月");
const std::string kMaitoshi = Sjis("毎年");
const std::string kNen = Sjis("年");
const std::string kGatsu = Sjis("月");
const std::string kNichi = Sjis("日");
const std::string kHeisei = Sjis("平成");
const std::string kWideH = Sjis("Ｈ");
const std::string kWideSmallH = Sjis("ｈ");
const std::string kIdeographicSpace = Sjis("　");
const std::string kWideSolidus = Sjis("／");

// Weekday names with their codes, in the order they are replaced.
const std::array<std::pair<std::string, std::string_view>, 7> kWeekdayNames { {
    { Sjis("日曜"), "/0" },
    { Sjis("月曜"), "/1" },
    { Sjis("火曜"), "/2" },
    { Sjis("水曜"), "/3" },
    { Sjis("木曜"), "/4" },
    { Sjis("金曜"), "/5" },
    { Sjis("土曜"), "/6" },
} };

// Weekday characters of the display form by code; "X" for anything else.
const std::array<std::string, 7> kWeekdayChars {
    Sjis("日"),
    Sjis("月"),
    Sjis("火"),
    Sjis("水"),
    Sjis("木"),
    Sjis("金"),
    Sjis("土"),
};

std::string_view WeekdayChar(std::string_view field)
{
    const std::optional<std::int32_t> code = ParseDecimal(field);
    if (code && *code >= 0 && *code < 7)
        return kWeekdayChars[static_cast<std::size_t>(*code)];
    return "X";
}

// Applies the replacements one after the other, each over the whole text.
std::string ReplaceInTurn(
    std::string text, std::initializer_list<std::pair<std::string_view, std::string_view>> replacements)
{
    for (const auto& [from, to] : replacements)
        text = SjisReplaceAll(text, from, to);
    return text;
}

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view p : parts)
        out.append(p);
    return out;
}

} // namespace

std::string TScheduleTable::NormalizeDate(std::string_view input)
{
    std::string text(input);

    // Full-width digits ０ (82 4F) to ９ (82 58) become ASCII digits.
    for (char d = 0; d < 10; ++d) {
        const char wide[] = { '\x82', static_cast<char>(0x4f + d), '\0' };
        const char narrow[] = { static_cast<char>('0' + d), '\0' };
        text = SjisReplaceAll(text, wide, narrow);
    }

    // Weekday names go first, so that the 月 of 月曜 and the 日 of 日曜 or
    // 曜日 are never taken for month or day markers below.
    const bool weekday = SjisContains(text, kYou);
    if (weekday) {
        text = SjisReplaceAll(text, kYoubi, kYou);
        for (const auto& [name, code] : kWeekdayNames)
            text = SjisReplaceAll(text, name, code);
    }

    const bool nth = SjisContains(text, kDai);
    const bool everyYear = SjisContains(text, kMaitoshi);

    text = ReplaceInTurn(
        std::move(text), { { kMaishuu, "" }, { kMaitsuki, "" }, { kMaitoshi, "" }, { kDai, "" } });

    const bool year = SjisContains(text, kNen);
    const bool month = SjisContains(text, kGatsu);
    const bool day = SjisContains(text, kNichi);

    text = ReplaceInTurn(std::move(text), { { kNichi, "" }, { kGatsu, "/" }, { kNen, "/" } });

    // Era marks, then spaces, then the full-width solidus.
    text = ReplaceInTurn(std::move(text),
        { { kHeisei, "-" }, { kWideH, "-" }, { "H", "-" }, { kWideSmallH, "-" }, { "h", "-" },
            { kIdeographicSpace, "" }, { " ", "" }, { kWideSolidus, "/" } });

    int kind = -1;
    if (weekday && !month && !day && !nth)
        kind = 1;
    else if (!weekday && !month && day && !nth)
        kind = 2;
    else if (weekday && !month && !day && nth)
        kind = 3;
    else if (!weekday && month && day && !nth && everyYear)
        kind = 4;
    else if (weekday && month && !day && nth)
        kind = 5;
    else if (!weekday && month && day && !nth)
        kind = year ? 7 : 6;

    // One pass only: a run of three slashes keeps two.
    return SjisReplaceAll(std::to_string(kind) + "/" + text, "//", "/");
}

std::string TScheduleTable::ExpandDate(std::string_view normalized)
{
    std::vector<std::string> fields = SplitDelimited(normalized, '/');
    fields.resize(std::max<std::size_t>(fields.size(), 4));
    const std::string& kind = fields[0];
    const std::string& f1 = fields[1];
    const std::string& f2 = fields[2];
    const std::string& f3 = fields[3];

    if (kind == "1")
        return Concat({ kMaishuu, WeekdayChar(f1), kYoubi });
    if (kind == "2")
        return Concat({ kMaitsuki, f1, kNichi });
    if (kind == "3")
        return Concat({ kMaitsuki, kDai, f1, WeekdayChar(f2), kYoubi });
    if (kind == "4")
        return Concat({ kMaitoshi, f1, kGatsu, f2, kNichi });
    if (kind == "5")
        return Concat({ kMaitoshi, f1, kGatsu, kDai, f2, WeekdayChar(f3), kYoubi });
    if (kind == "6")
        return Concat({ f1, kGatsu, f2, kNichi });
    if (kind == "7") {
        // Heisei years are held as negative numbers.
        const std::int64_t year = ParseDecimal(f1).value_or(0);
        const std::string shown = year < 0 ? Concat({ kHeisei, std::to_string(-year) }) : f1;
        return Concat({ shown, kNen, f2, kGatsu, f3, kNichi });
    }
    return std::string(normalized);
}

void TScheduleTable::SplitDate(
    std::string_view normalized, int32_t& kind, int32_t& field1, int32_t& field2, int32_t& field3)
{
    std::vector<std::string> fields = SplitDelimited(normalized, '/');
    fields.emplace_back("-1");
    fields.emplace_back("-1");
    const auto number = [&fields](std::size_t i) -> int32_t {
        return i < fields.size() ? ParseDecimal(fields[i]).value_or(-1) : -1;
    };
    kind = number(0);
    field1 = number(1);
    field2 = number(2);
    field3 = number(3);
}

std::optional<TScheduleTable::CheckFailure> TScheduleTable::Check()
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::string& date = entries_[i].date;
        if (date.empty())
            continue;
        const std::string normalized = NormalizeDate(date);
        if (normalized.substr(0, normalized.find('/')) == "-1")
            return CheckFailure { i, std::to_string(i + 1) + texts::kDateError };
        date = ExpandDate(normalized);
    }
    return std::nullopt;
}

} // namespace schedule
