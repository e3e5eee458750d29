#include "app/Clock.h"

#include <ctime>

namespace app {

std::chrono::local_seconds LocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    using namespace std::chrono;
    const year_month_day date { year { local.tm_year + 1900 },
        month { static_cast<unsigned>(local.tm_mon + 1) }, day { static_cast<unsigned>(local.tm_mday) } };
    return local_days { date } + hours { local.tm_hour } + minutes { local.tm_min }
    + seconds { local.tm_sec };
}

Clock LocalDateClock()
{
    return [] { return std::chrono::year_month_day { std::chrono::floor<std::chrono::days>(LocalNow()) }; };
}

Clock FixedDateClock(std::chrono::year_month_day today)
{
    return [today] { return today; };
}

} // namespace app
