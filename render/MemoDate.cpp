#include "render/MemoDate.h"

#include "platform/SjisText.h"
#include "render/Texts.h"

#include <QDate>
#include <chrono>

namespace render {

std::string LocaleShortDate(const QLocale& locale, const std::chrono::year_month_day& date)
{
    const QDate day(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
        static_cast<int>(static_cast<unsigned>(date.day())));
    // The C and POSIX locales have no date form of their own (Qt's is
    // d MMM yyyy in English): the Japanese short date is the natural one.
    if (locale.language() == QLocale::C)
        return platform::ToSjis(day.toString(QStringLiteral("yyyy/MM/dd")));
    return platform::ToSjis(locale.toString(day, QLocale::ShortFormat));
}

std::string SystemShortDate(const std::chrono::year_month_day& date)
{
    return LocaleShortDate(QLocale::system(), date);
}

std::string WeekdayName(int weekday)
{
    return texts::kWeekdays[((weekday % 7) + 7) % 7];
}

std::string BuildTitle(const std::string& title, bool withDate, const std::chrono::year_month_day& today,
    const ShortDateFormat& format)
{
    if (!withDate)
        return title;
    return title + (format ? format(today) : SystemShortDate(today)) + "("
        + WeekdayName(static_cast<int>(std::chrono::weekday(std::chrono::sys_days(today)).c_encoding()))
        + ")";
}

} // namespace render
