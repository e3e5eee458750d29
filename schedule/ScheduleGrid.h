#pragma once

#include <array>
#include <string>
#include <vector>

namespace schedule {

class GridObserver;

// The schedule grid: three columns of Shift_JIS cells (0 row number, 1 date
// expression, 2 schedule text), a fixed header row 0 and a fixed number
// column 0, a row count that grows and shrinks, a current cell and column
// widths. It holds the only copy of the schedule; the table class works on
// it and the window shows it through a model adapter that registers itself
// as an observer.
class ScheduleGrid {
public:
    static constexpr int kColCount = 3;
    static constexpr int kNumberCol = 0;
    static constexpr int kDateCol = 1;
    static constexpr int kTextCol = 2;
    static constexpr int kFixedRows = 1;
    static constexpr int kFixedCols = 1;
    // A new grid has the header and nine empty data rows.
    static constexpr int kInitialRowCount = 10;
    static constexpr int kInitialColWidth = 64;

    ScheduleGrid();

    int ColCount() const { return kColCount; }
    int FixedRows() const { return kFixedRows; }
    int FixedCols() const { return kFixedCols; }

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with empty rows or drops rows from the end. The header row and
    // one data row always stay, so the count never goes below 2.
    void SetRowCount(int count);

    // Cells outside the grid read as empty; writes to them are ignored.
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    bool IsInside(int col, int row) const;

    // Inserts count empty rows before row `before` (RowCount() appends) and
    // removes count rows starting at `first`; used for block moves so that a
    // view sees one insertion or removal instead of a change of every row.
    void InsertRows(int before, int count);
    void RemoveRows(int first, int count);
    // Exchanges the cells of columns firstCol..2 of two rows.
    void SwapRows(int rowA, int rowB, int firstCol);

    // The current cell is always a data cell (never in the header row or the
    // number column); out-of-range values are clamped into the data area.
    int Row() const { return row_; }
    int Col() const { return col_; }
    void SetRow(int row) { SetCurrentCell(col_, row); }
    void SetCol(int col) { SetCurrentCell(col, row_); }
    void SetCurrentCell(int col, int row);

    // Setting the default width gives every column that width, as a string
    // grid does; single columns are changed afterwards.
    int DefaultColWidth() const { return defaultColWidth_; }
    void SetDefaultColWidth(int width);
    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    // Observers are not owned; one must be removed before it is destroyed.
    void AddObserver(GridObserver* observer);
    void RemoveObserver(GridObserver* observer);

private:
    using Row_ = std::array<std::string, kColCount>;

    template <typename F> void Notify(F&& f) const;
    void ClampCurrent();

    std::vector<Row_> rows_;
    int row_ = 1;
    int col_ = 1;
    int defaultColWidth_ = kInitialColWidth;
    std::array<int, kColCount> colWidths_;
    std::vector<GridObserver*> observers_;
};

} // namespace schedule
