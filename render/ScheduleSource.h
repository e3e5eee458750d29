#pragma once

#include <string>
#include <vector>

namespace render {

// Where the schedule lines of the text block come from: the schedule table
// in the program, a fake in tests.
class ScheduleSource {
public:
    virtual ~ScheduleSource() = default;
    // Look-ahead windows in days for weekly, monthly, yearly and dated entries.
    virtual void SetLookAhead(int weekly, int monthly, int yearly, int dated) = 0;
    // The upcoming-item lines for today ("%d日後%s %s"), in grid row order.
    // May throw; the error ends the draw.
    virtual std::vector<std::string> ListUpcoming() = 0;
};

} // namespace render
