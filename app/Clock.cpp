#include "app/Clock.h"

#include <ctime>

namespace app {

Clock LocalDateClock()
{
    return [] {
        const std::time_t now = std::time(nullptr);
        std::tm local {};
#ifdef _WIN32
        localtime_s(&local, &now);
#else
        localtime_r(&now, &local);
#endif
        return std::chrono::year_month_day { std::chrono::year { local.tm_year + 1900 },
            std::chrono::month { static_cast<unsigned>(local.tm_mon + 1) },
            std::chrono::day { static_cast<unsigned>(local.tm_mday) } };
    };
}

Clock FixedDateClock(std::chrono::year_month_day today)
{
    return [today] { return today; };
}

} // namespace app
