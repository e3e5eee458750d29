#include "app/TableScheduleSource.h"

#include "schedule/TScheduleTable.h"

namespace app {

TableScheduleSource::TableScheduleSource(
    const schedule::TScheduleTable& table, std::chrono::year_month_day today)
    : table_(table)
    , today_(today)
{
}

void TableScheduleSource::SetLookAhead(int weekly, int monthly, int yearly, int dated)
{
    ahead_ = { weekly, monthly, yearly, dated };
}

std::vector<std::string> TableScheduleSource::ListUpcoming()
{
    return table_.ListUpcoming(ahead_, today_);
}

} // namespace app
