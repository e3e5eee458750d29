#pragma once

namespace schedule {

// Told about every change of a ScheduleGrid, so that a view (the window's
// table model) can follow the grid without copying it. Row and column
// numbers are grid numbers: row 0 is the header row, column 0 the number
// column. The "about to" calls come before the change, the others after it,
// which is the order a Qt item model needs for its begin/end signals.
class GridObserver {
public:
    virtual ~GridObserver() = default;

    virtual void RowsAboutToBeInserted(int /*first*/, int /*last*/) { }
    virtual void RowsInserted(int /*first*/, int /*last*/) { }
    virtual void RowsAboutToBeRemoved(int /*first*/, int /*last*/) { }
    virtual void RowsRemoved(int /*first*/, int /*last*/) { }
    // The cells of rows first..last (all columns) may have new text.
    virtual void RowsChanged(int /*first*/, int /*last*/) { }
    virtual void CurrentCellChanged(int /*col*/, int /*row*/) { }
    virtual void ColumnWidthChanged(int /*col*/) { }
};

} // namespace schedule
