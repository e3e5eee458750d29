#include "gui/ScheduleGridModel.h"

#include "gui/Texts.h"
#include "platform/SjisText.h"

namespace gui {

ScheduleGridModel::ScheduleGridModel(EditHook editHook, QObject* parent)
    : QAbstractTableModel(parent)
    , editHook_(std::move(editHook))
{
}

void ScheduleGridModel::SetTable(schedule::TScheduleTable* table)
{
    beginResetModel();
    table_ = table;
    endResetModel();
}

bool ScheduleGridModel::InsertRow(int row)
{
    if (table_ == nullptr || row < 0 || !table_->CanInsertRow(static_cast<std::size_t>(row))) {
        return false;
    }
    beginInsertRows({}, row, row);
    table_->InsertRow(static_cast<std::size_t>(row));
    endInsertRows();
    return true;
}

bool ScheduleGridModel::DeleteRow(int row)
{
    if (table_ == nullptr || row < 0 || !table_->CanDeleteRow(static_cast<std::size_t>(row))) {
        return false;
    }
    // A short table keeps its size: the removal is announced first, then
    // the empty entry the table added at the end.
    const int before = rowCount();
    beginRemoveRows({}, row, row);
    table_->DeleteRow(static_cast<std::size_t>(row));
    unannounced_ = static_cast<int>(table_->Entries().size()) - (before - 1);
    endRemoveRows();
    if (unannounced_ > 0) {
        beginInsertRows({}, before - 1, before - 2 + unannounced_);
        unannounced_ = 0;
        endInsertRows();
    }
    return true;
}

bool ScheduleGridModel::MoveRowUp(int row)
{
    if (table_ == nullptr || row < 0 || !table_->CanMoveRowUp(static_cast<std::size_t>(row))) {
        return false;
    }
    // The entry goes before the one above it.
    beginMoveRows({}, row, row, {}, row - 1);
    table_->MoveRowUp(static_cast<std::size_t>(row));
    endMoveRows();
    return true;
}

bool ScheduleGridModel::MoveRowDown(int row)
{
    if (table_ == nullptr || row < 0 || !table_->CanMoveRowDown(static_cast<std::size_t>(row))) {
        return false;
    }
    // The entry goes after the one below it.
    beginMoveRows({}, row, row, {}, row + 2);
    table_->MoveRowDown(static_cast<std::size_t>(row));
    endMoveRows();
    return true;
}

std::optional<schedule::TScheduleTable::CheckFailure> ScheduleGridModel::Check()
{
    if (table_ == nullptr) {
        return std::nullopt;
    }
    auto failure = table_->Check();
    if (rowCount() > 0) {
        emit dataChanged(index(0, kDateColumn), index(rowCount() - 1, kDateColumn));
    }
    return failure;
}

int ScheduleGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || table_ == nullptr ? 0
                                                 : static_cast<int>(table_->Entries().size()) - unannounced_;
}

int ScheduleGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

const std::string* ScheduleGridModel::Cell(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= rowCount()) {
        return nullptr;
    }
    const schedule::Entry& entry = table_->Entries()[static_cast<std::size_t>(index.row())];
    return index.column() == kDateColumn ? &entry.date : &entry.text;
}

QVariant ScheduleGridModel::data(const QModelIndex& index, int role) const
{
    const std::string* cell = Cell(index);
    if (cell == nullptr || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    return platform::FromSjis(*cell);
}

bool ScheduleGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const std::string* cell = Cell(index);
    if (cell == nullptr || role != Qt::EditRole) {
        return false;
    }
    // A cell whose text the editor hands back unchanged keeps its bytes.
    editHook_(index.column(), index.row(), platform::ToSjis(value.toString(), *cell));
    emit dataChanged(index, index);
    return true;
}

QVariant ScheduleGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (orientation == Qt::Horizontal) {
        return platform::FromSjis(section == kDateColumn ? texts::kGridDateCaption : texts::kGridTextCaption);
    }
    // Row numbers line up: one leading space below 10.
    const int number = section + 1;
    return number < 10 ? QStringLiteral(" %1").arg(number) : QString::number(number);
}

Qt::ItemFlags ScheduleGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

} // namespace gui
