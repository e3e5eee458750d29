#include "schedule/ScheduleGrid.h"

#include "schedule/GridObserver.h"

#include <algorithm>

namespace schedule {

namespace {

const std::string kEmptyCell;

} // namespace

ScheduleGrid::ScheduleGrid()
    : rows_(kInitialRowCount)
{
    colWidths_.fill(defaultColWidth_);
}

template <typename F> void ScheduleGrid::Notify(F&& f) const
{
    // A copy, so an observer may unregister itself while being told.
    const auto observers = observers_;
    for (GridObserver* o : observers)
        f(*o);
}

void ScheduleGrid::SetRowCount(int count)
{
    count = std::max(count, kFixedRows + 1);
    const int old = RowCount();
    if (count > old)
        InsertRows(old, count - old);
    else if (count < old)
        RemoveRows(count, old - count);
}

bool ScheduleGrid::IsInside(int col, int row) const
{
    return col >= 0 && col < kColCount && row >= 0 && row < RowCount();
}

const std::string& ScheduleGrid::Cell(int col, int row) const
{
    if (!IsInside(col, row))
        return kEmptyCell;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

void ScheduleGrid::SetCell(int col, int row, std::string text)
{
    if (!IsInside(col, row))
        return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
    Notify([row](GridObserver& o) { o.RowsChanged(row, row); });
}

void ScheduleGrid::InsertRows(int before, int count)
{
    if (count <= 0 || before < kFixedRows || before > RowCount())
        return;
    const int last = before + count - 1;
    Notify([before, last](GridObserver& o) { o.RowsAboutToBeInserted(before, last); });
    rows_.insert(rows_.begin() + before, static_cast<std::size_t>(count), Row_ {});
    Notify([before, last](GridObserver& o) { o.RowsInserted(before, last); });
}

void ScheduleGrid::RemoveRows(int first, int count)
{
    if (first < kFixedRows || first >= RowCount())
        return;
    // Never past the end, and never below the header and one data row.
    count = std::min(count, RowCount() - first);
    count = std::min(count, RowCount() - (kFixedRows + 1));
    if (count <= 0)
        return;
    const int last = first + count - 1;
    Notify([first, last](GridObserver& o) { o.RowsAboutToBeRemoved(first, last); });
    rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
    Notify([first, last](GridObserver& o) { o.RowsRemoved(first, last); });
    ClampCurrent();
}

void ScheduleGrid::SwapRows(int rowA, int rowB, int firstCol)
{
    if (!IsInside(0, rowA) || !IsInside(0, rowB) || rowA == rowB)
        return;
    for (int c = std::max(firstCol, 0); c < kColCount; ++c)
        std::swap(rows_[static_cast<std::size_t>(rowA)][static_cast<std::size_t>(c)],
            rows_[static_cast<std::size_t>(rowB)][static_cast<std::size_t>(c)]);
    const int first = std::min(rowA, rowB);
    const int last = std::max(rowA, rowB);
    if (last == first + 1) {
        Notify([first, last](GridObserver& o) { o.RowsChanged(first, last); });
    } else {
        Notify([first](GridObserver& o) { o.RowsChanged(first, first); });
        Notify([last](GridObserver& o) { o.RowsChanged(last, last); });
    }
}

void ScheduleGrid::SetCurrentCell(int col, int row)
{
    col = std::clamp(col, kFixedCols, kColCount - 1);
    row = std::clamp(row, kFixedRows, RowCount() - 1);
    if (col == col_ && row == row_)
        return;
    col_ = col;
    row_ = row;
    Notify([col, row](GridObserver& o) { o.CurrentCellChanged(col, row); });
}

void ScheduleGrid::ClampCurrent()
{
    if (row_ > RowCount() - 1) {
        row_ = RowCount() - 1;
        Notify([this](GridObserver& o) { o.CurrentCellChanged(col_, row_); });
    }
}

void ScheduleGrid::SetDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    for (int c = 0; c < kColCount; ++c)
        SetColWidth(c, width);
}

int ScheduleGrid::ColWidth(int col) const
{
    if (col < 0 || col >= kColCount)
        return defaultColWidth_;
    return colWidths_[static_cast<std::size_t>(col)];
}

void ScheduleGrid::SetColWidth(int col, int width)
{
    if (col < 0 || col >= kColCount || colWidths_[static_cast<std::size_t>(col)] == width)
        return;
    colWidths_[static_cast<std::size_t>(col)] = width;
    Notify([col](GridObserver& o) { o.ColumnWidthChanged(col); });
}

void ScheduleGrid::AddObserver(GridObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void ScheduleGrid::RemoveObserver(GridObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

} // namespace schedule
