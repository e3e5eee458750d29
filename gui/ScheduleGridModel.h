#pragma once

// The schedule grid seen through Qt's item model, without a copy: every read
// goes to the grid's cells, and the grid tells the model about its changes.
// Model rows are the grid's data rows (grid row = model row + 1) and model
// columns its date and text columns (grid column = model column + 1); the
// grid's header row and number column become the view's headers.

#include "schedule/GridObserver.h"

#include <QAbstractTableModel>
#include <functional>
#include <string>

namespace schedule {
class ScheduleGrid;
}

namespace gui {

class ScheduleGridModel : public QAbstractTableModel, private schedule::GridObserver {
    Q_OBJECT
public:
    // editHook receives grid column, grid row and the editor's text each
    // time the editor hands text to a cell; it writes the cell.
    using EditHook = std::function<void(int col, int row, std::string text)>;

    ScheduleGridModel(schedule::ScheduleGrid& grid, EditHook editHook, QObject* parent = nullptr);
    ~ScheduleGridModel() override;

    schedule::ScheduleGrid& Grid() const { return grid_; }
    // True while rows are being inserted or removed. A view moves its
    // current index along with the rows meanwhile; the grid's current row is
    // what counts, and the model reports it again once the rows are in place.
    bool ChangingRows() const { return changingRows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The grid's current cell moved (grid numbers).
    void currentCellChanged(int col, int row);
    // A column's width changed (grid column number).
    void columnWidthChanged(int col, int width);

private:
    void RowsAboutToBeInserted(int first, int last) override;
    void RowsInserted(int first, int last) override;
    void RowsAboutToBeRemoved(int first, int last) override;
    void RowsRemoved(int first, int last) override;
    void RowsChanged(int first, int last) override;
    void CurrentCellChanged(int col, int row) override;
    void ColumnWidthChanged(int col) override;

    schedule::ScheduleGrid& grid_;
    EditHook editHook_;
    bool changingRows_ = false;
};

} // namespace gui
