#include "app/TableScheduleSource.h"

#include "schedule/TScheduleTable.h"

namespace app {

TableScheduleSource::TableScheduleSource(schedule::TScheduleTable& table)
    : table_(table)
{
}

void TableScheduleSource::SetLookAhead(int weekly, int monthly, int yearly, int dated)
{
    table_.SetLookAhead(weekly, monthly, yearly, dated);
}

std::vector<std::string> TableScheduleSource::ListUpcoming()
{
    std::vector<std::string> lines;
    table_.ListUpcoming(lines);
    return lines;
}

} // namespace app
