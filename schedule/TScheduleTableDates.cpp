// The date language: normalising typed date expressions, the display form,
// splitting the normalised form, and the check of every date.
#include "jconvert/cp932.h"
#include "jconvert/sjis.h"
#include "schedule/DateRule.h"
#include "schedule/DelimitedText.h"
#include "schedule/SjisSearch.h"
#include "schedule/TScheduleTable.h"
#include "schedule/Texts.h"

#include <array>
#include <chrono>

namespace schedule {

namespace {

using namespace texts;

std::string_view WeekdayChar(std::string_view field)
{
    const std::optional<std::int32_t> code = ParseDecimal(field);
    if (code && *code >= 0 && *code < 7)
        return kWeekdayChars[*code];
    return "X";
}

// Replaces every occurrence of from in text by to; a text without one is
// left as it is, without a copy (most replacements find nothing).
void ReplaceAllIn(std::string& text, std::string_view from, std::string_view to)
{
    if (jconvert::SjisFind(text, from) != std::string_view::npos)
        text = SjisReplaceAll(text, from, to);
}

// Applies the replacements one after the other, each over the whole text.
std::string ReplaceInTurn(
    std::string text, std::initializer_list<std::pair<std::string_view, std::string_view>> replacements)
{
    for (const auto& [from, to] : replacements)
        ReplaceAllIn(text, from, to);
    return text;
}

std::string Concat(std::initializer_list<std::string_view> parts)
{
    std::string out;
    for (const std::string_view p : parts)
        out.append(p);
    return out;
}

// The typed text as the message quotes it: a long one is cut at a
// character boundary.
std::string Quoted(std::string_view typed)
{
    constexpr std::size_t kMaxQuoted = 40;
    if (typed.size() <= kMaxQuoted)
        return std::string(typed);
    std::size_t end = 0;
    while (end < typed.size()) {
        const std::size_t next = end + jconvert::SjisCharLength(typed, end);
        if (next > kMaxQuoted)
            break;
        end = next;
    }
    return std::string(typed.substr(0, end)) + texts::kCheckCut;
}

// What is wrong with the date and what would be right.
std::string Problem(const DateRule& rule)
{
    switch (rule.fault) {
    case DateFault::None:
    case DateFault::Form:
        return texts::kFaultForm;
    case DateFault::Fields:
        return texts::kFaultFields;
    case DateFault::Weekday:
        return texts::kFaultWeekday;
    case DateFault::DayOfMonth:
        return texts::kFaultDayOfMonth;
    case DateFault::Nth:
        return texts::kFaultNth;
    case DateFault::Month:
        return texts::kFaultMonth;
    case DateFault::Year:
        return texts::kFaultYear;
    case DateFault::NoSuchDay:
        break;
    }
    // Month and day are a and b, or b and c after a full date's year.
    using namespace std::chrono;
    const bool full = rule.kind == 7;
    const auto m = static_cast<unsigned>(full ? rule.b : rule.a);
    const year y { full ? rule.a : 2000 };
    const unsigned days = static_cast<unsigned>(year_month_day_last { y / month { m } / last }.day());
    return Concat({ texts::kFaultNoSuchDay, full ? texts::kFaultThatYear : "", std::to_string(m),
        texts::kFaultMonthHas, std::to_string(days), texts::kFaultDaysUntil });
}

// "<row>行目の予定日「<typed>」は<problem>例：<examples>"
std::string CheckMessage(std::size_t row, std::string_view typed, const DateRule& rule)
{
    const std::string& examples = rule.fault == DateFault::Form || rule.kind < 1 || rule.kind > 7
        ? texts::kExamplesAny
        : texts::kExamplesByKind[rule.kind - 1];
    return Concat({ std::to_string(row), texts::kCheckRow, Quoted(typed), texts::kCheckIs, Problem(rule),
        texts::kCheckExamples, examples });
}

} // namespace

std::string TScheduleTable::NormalizeDate(std::string_view input)
{
    std::string text(input);

    // Full-width digits ０ (82 4F) to ９ (82 58) become ASCII digits.
    for (char d = 0; d < 10; ++d) {
        const char wide[] = { '\x82', static_cast<char>(0x4f + d), '\0' };
        const char narrow[] = { static_cast<char>('0' + d), '\0' };
        ReplaceAllIn(text, wide, narrow);
    }

    // Weekday names go first, so that the 月 of 月曜 and the 日 of 日曜 or
    // 曜日 are never taken for month or day markers below.
    const bool weekday = SjisContains(text, kYou);
    if (weekday) {
        ReplaceAllIn(text, kYoubi, kYou);
        for (int day = 0; day < 7; ++day)
            ReplaceAllIn(text, kWeekdayNames[day], "/" + std::to_string(day));
    }

    const bool nth = SjisContains(text, kDai);
    const bool everyYear = SjisContains(text, kMaitoshi);

    text = ReplaceInTurn(
        std::move(text), { { kMaishuu, "" }, { kMaitsuki, "" }, { kMaitoshi, "" }, { kDai, "" } });

    const bool year = SjisContains(text, kNen);
    const bool month = SjisContains(text, kGatsu);
    const bool day = SjisContains(text, kNichi);

    text = ReplaceInTurn(std::move(text), { { kNichi, "" }, { kGatsu, "/" }, { kNen, "/" } });

    // Era marks, then spaces, then the full-width solidus. A 平成 year is
    // held as a negative number, a 令和 year behind an "R"; 元 right after
    // either mark is year 1 (元年), and anywhere else stays a character that
    // is no number.
    text = ReplaceInTurn(std::move(text),
        { { kHeisei, "-" }, { kWideH, "-" }, { "H", "-" }, { kWideSmallH, "-" }, { "h", "-" },
            { kReiwa, "R" }, { kWideR, "R" }, { kWideSmallR, "R" }, { "r", "R" }, { kIdeographicSpace, "" },
            { " ", "" }, { kWideSolidus, "/" } });
    const std::string heiseiGan = "-" + kGan;
    const std::string reiwaGan = "R" + kGan;
    text = ReplaceInTurn(std::move(text), { { heiseiGan, "-1" }, { reiwaGan, "R1" } });

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
        // Heisei years are held as negative numbers, Reiwa years behind "R".
        const std::int64_t year = ParseDecimal(f1).value_or(0);
        std::string shown = f1;
        if (year < 0)
            shown = Concat({ kHeisei, std::to_string(-year) });
        else if (!f1.empty() && f1[0] == 'R')
            shown = Concat({ kReiwa, std::string_view(f1).substr(1) });
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
        const DateRule rule = ReadDateRule(normalized);
        if (rule.fault != DateFault::None)
            return CheckFailure { i, CheckMessage(i + 1, date, rule) };
        date = ExpandDate(normalized);
    }
    return std::nullopt;
}

} // namespace schedule
