#include "gui/ScheduleGridModel.h"

#include "platform/SjisText.h"
#include "schedule/ScheduleGrid.h"

#include <algorithm>

namespace gui {

ScheduleGridModel::ScheduleGridModel(schedule::ScheduleGrid& grid, EditHook editHook, QObject* parent)
    : QAbstractTableModel(parent)
    , grid_(grid)
    , editHook_(std::move(editHook))
{
    grid_.AddObserver(this);
}

ScheduleGridModel::~ScheduleGridModel()
{
    grid_.RemoveObserver(this);
}

int ScheduleGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.RowCount() - grid_.FixedRows();
}

int ScheduleGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.ColCount() - grid_.FixedCols();
}

QVariant ScheduleGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return platform::FromSjis(
        grid_.Cell(index.column() + grid_.FixedCols(), index.row() + grid_.FixedRows()));
}

bool ScheduleGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole) {
        return false;
    }
    // The hook writes the cell; the grid then reports the change back. A
    // cell whose text the editor hands back unchanged keeps its bytes.
    const int col = index.column() + grid_.FixedCols();
    const int row = index.row() + grid_.FixedRows();
    editHook_(col, row, platform::ToSjis(value.toString(), grid_.Cell(col, row)));
    return true;
}

QVariant ScheduleGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        return platform::FromSjis(grid_.Cell(section + grid_.FixedCols(), 0));
    }
    return platform::FromSjis(grid_.Cell(0, section + grid_.FixedRows()));
}

Qt::ItemFlags ScheduleGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void ScheduleGridModel::RowsAboutToBeInserted(int first, int last)
{
    changingRows_ = true;
    beginInsertRows({}, first - grid_.FixedRows(), last - grid_.FixedRows());
}

void ScheduleGridModel::RowsInserted(int, int)
{
    endInsertRows();
    changingRows_ = false;
    // The grid's current row stays where it was, on the new blank row; the
    // view's current index went down with the entry it was on.
    emit currentCellChanged(grid_.Col(), grid_.Row());
}

void ScheduleGridModel::RowsAboutToBeRemoved(int first, int last)
{
    changingRows_ = true;
    beginRemoveRows({}, first - grid_.FixedRows(), last - grid_.FixedRows());
}

void ScheduleGridModel::RowsRemoved(int, int)
{
    endRemoveRows();
    changingRows_ = false;
    // The grid's current row stays on the same number, now the entry that
    // followed the removed one; the view picked a neighbour of its own.
    emit currentCellChanged(grid_.Col(), grid_.Row());
}

void ScheduleGridModel::RowsChanged(int first, int last)
{
    if (first == 0) {
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    const int top = std::max(first - grid_.FixedRows(), 0);
    const int bottom = std::min(last - grid_.FixedRows(), rowCount() - 1);
    if (top <= bottom) {
        emit dataChanged(index(top, 0), index(bottom, columnCount() - 1));
        emit headerDataChanged(Qt::Vertical, top, bottom);
    }
}

void ScheduleGridModel::CurrentCellChanged(int col, int row)
{
    emit currentCellChanged(col, row);
}

void ScheduleGridModel::ColumnWidthChanged(int col)
{
    emit columnWidthChanged(col, grid_.ColWidth(col));
}

} // namespace gui
