#pragma once

#include "render/ScheduleSource.h"
#include "schedule/LookAhead.h"

#include <chrono>

namespace schedule {
class TScheduleTable;
}

namespace app {

// The schedule table as the wallpaper's source of schedule lines: the window
// and corkpane-tool draw both hand their table to the draw through this.
class TableScheduleSource : public render::ScheduleSource {
public:
    TableScheduleSource(const schedule::TScheduleTable& table, std::chrono::year_month_day today);

    void SetLookAhead(int weekly, int monthly, int yearly, int dated) override;
    std::vector<std::string> ListUpcoming() override;

private:
    const schedule::TScheduleTable& table_;
    std::chrono::year_month_day today_;
    schedule::LookAhead ahead_;
};

} // namespace app
