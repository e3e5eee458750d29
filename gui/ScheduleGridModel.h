#pragma once

// The schedule table's entries seen through Qt's item model, without a
// copy: model row i is entry i, column 0 its date and column 1 its text.
// The row numbers (" 1" … " 9", "10", …) and the column captions are the
// headers. The row operations and the check go through the model, which
// announces each change to the views, so a view's current index and open
// editor move along with the entries.

#include "schedule/TScheduleTable.h"

#include <QAbstractTableModel>
#include <functional>
#include <optional>
#include <string>

namespace gui {

class ScheduleGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kDateColumn = 0;
    static constexpr int kTextColumn = 1;

    // editHook receives column, row and the editor's text each time the
    // editor hands text to a cell; it writes the entry. The model then
    // reports the cell changed.
    using EditHook = std::function<void(int column, int row, std::string text)>;

    explicit ScheduleGridModel(EditHook editHook, QObject* parent = nullptr);

    // The table shown, not owned; null shows no rows. Set it to null before
    // the table is destroyed.
    void SetTable(schedule::TScheduleTable* table);

    // The table's row operations; each returns whether it acted.
    bool InsertRow(int row);
    bool DeleteRow(int row);
    bool MoveRowUp(int row);
    bool MoveRowDown(int row);
    // The table's check, which rewrites the dates it passes.
    std::optional<schedule::TScheduleTable::CheckFailure> Check();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The entry's date or text an index shows; null outside the entries.
    const std::string* Cell(const QModelIndex& index) const;

    EditHook editHook_;
    schedule::TScheduleTable* table_ = nullptr;
    // Entries a delete added at the end of a short table, while the view
    // has only been told of the removal.
    int unannounced_ = 0;
};

} // namespace gui
