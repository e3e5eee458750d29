#pragma once

#include "render/ScheduleSource.h"

namespace schedule {
class TScheduleTable;
}

namespace app {

// The schedule table as the wallpaper's source of schedule lines: the window
// and corkpane-tool draw both hand their table to the draw through this.
class TableScheduleSource : public render::ScheduleSource {
public:
    explicit TableScheduleSource(schedule::TScheduleTable& table);

    void SetLookAhead(int weekly, int monthly, int yearly, int dated) override;
    std::vector<std::string> ListUpcoming() override;

private:
    schedule::TScheduleTable& table_;
};

} // namespace app
