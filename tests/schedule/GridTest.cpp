// What a view of the grid relies on: bounds, the current cell and the
// change notifications.
#include "schedule/GridObserver.h"
#include "schedule/ScheduleGrid.h"

#include <gtest/gtest.h>

using namespace schedule;

namespace {

class Recorder : public GridObserver {
public:
    std::vector<std::string> events;

    void RowsAboutToBeInserted(int first, int last) override { Add("+?", first, last); }
    void RowsInserted(int first, int last) override { Add("+", first, last); }
    void RowsAboutToBeRemoved(int first, int last) override { Add("-?", first, last); }
    void RowsRemoved(int first, int last) override { Add("-", first, last); }
    void RowsChanged(int first, int last) override { Add("~", first, last); }
    void CurrentCellChanged(int col, int row) override { Add("@", col, row); }
    void ColumnWidthChanged(int col) override { Add("w", col, col); }

private:
    void Add(const char* what, int a, int b)
    {
        events.push_back(what + std::to_string(a) + "," + std::to_string(b));
    }
};

} // namespace

TEST(Grid, BoundsAndNotifications)
{
    ScheduleGrid grid;
    Recorder rec;
    grid.AddObserver(&rec);
    EXPECT_EQ(grid.RowCount(), 10);

    grid.SetCell(1, 3, "x");
    grid.SetCell(3, 3, "outside");
    grid.SetCell(1, 10, "outside");
    grid.SetCell(-1, 0, "outside");
    EXPECT_EQ(grid.Cell(1, 3), "x");
    EXPECT_EQ(grid.Cell(1, 10), "");
    EXPECT_EQ(grid.Cell(-1, -1), "");

    grid.SetCurrentCell(0, 0);
    EXPECT_EQ(std::make_pair(grid.Col(), grid.Row()), std::make_pair(1, 1))
        << "never in the fixed row or column";
    grid.SetCurrentCell(2, 9);
    grid.InsertRows(3, 2);
    EXPECT_EQ(grid.Cell(1, 5), "x");
    grid.InsertRows(0, 1); // above the header: refused
    grid.RemoveRows(8, 100); // clipped to the end
    EXPECT_EQ(grid.RowCount(), 8);
    EXPECT_EQ(grid.Row(), 7) << "the current row follows the shrinking grid";
    grid.SetRowCount(0);
    EXPECT_EQ(grid.RowCount(), 2) << "header and one data row always stay";
    grid.SwapRows(1, 1, 1);
    grid.SetColWidth(2, 300);
    grid.SetColWidth(2, 300);

    EXPECT_EQ(rec.events,
        (std::vector<std::string> {
            "~3,3", "@2,9", "+?3,4", "+3,4", "-?8,11", "-8,11", "@2,7", "-?2,7", "-2,7", "@2,1", "w2,2" }));
}
