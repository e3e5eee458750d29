#include "schedule/TScheduleTable.h"

#include "jconvert/TextLines.h"
#include "platform/FileIo.h"
#include "schedule/DelimitedText.h"
#include "schedule/ScheduleError.h"
#include "schedule/ScheduleGrid.h"
#include "schedule/Texts.h"

namespace schedule {

namespace {

// A loaded table has at least this many rows (header included), so the user
// always finds empty rows to type into.
constexpr int kMinLoadedRowCount = 21;
// Deleting stops at 16 rows: below 17 the delete button does nothing.
constexpr int kMinRowCountForDelete = 17;

// A cell as a quoted field. The file has one line per row, so a line break
// (or a zero byte, which ends a line when read) inside a cell would split
// or cut the row; it is written as a space instead.
void AppendQuoted(std::string& out, std::string_view cell)
{
    out.push_back('"');
    for (const char c : cell) {
        if (c == '"')
            out.append("\"\"");
        else if (c == '\r' || c == '\n' || c == '\0')
            out.push_back(' ');
        else
            out.push_back(c);
    }
    out.push_back('"');
}

} // namespace

TScheduleTable::TScheduleTable(ScheduleGrid& grid, const std::filesystem::path& folder, Clock clock)
    : TScheduleTable(grid, folder / kFileName, std::move(clock), FileTag {})
{
}

std::unique_ptr<TScheduleTable> TScheduleTable::ForFile(
    ScheduleGrid& grid, const std::filesystem::path& file, Clock clock)
{
    return std::unique_ptr<TScheduleTable>(new TScheduleTable(grid, file, std::move(clock), FileTag {}));
}

TScheduleTable::TScheduleTable(ScheduleGrid& grid, std::filesystem::path file, Clock clock, FileTag)
    : grid_(grid)
    , path_(std::move(file))
    , clock_(std::move(clock))
{
    grid_.SetCell(ScheduleGrid::kNumberCol, 0, "No");
    grid_.SetCell(ScheduleGrid::kDateCol, 0, texts::kDateCaption);
    grid_.SetCell(ScheduleGrid::kTextCol, 0, texts::kTextCaption);
    grid_.SetDefaultColWidth(26);
    grid_.SetColWidth(ScheduleGrid::kDateCol, 128);
    grid_.SetColWidth(ScheduleGrid::kTextCol, 300);
    modified_ = false;
    try {
        Load();
    } catch (const ScheduleError& e) {
        // The window needs its table even when the file is unreadable; the
        // grid keeps its empty rows and Save refuses to overwrite the file.
        loadError_ = e;
        RenumberRows();
    }
}

TScheduleTable::~TScheduleTable()
{
    if (!modified_ || changeCount_ == savedChangeCount_)
        return;
    try {
        Save();
    } catch (const ScheduleError&) {
        // Nothing can be reported from here; callers that need the outcome
        // call Save() before destroying the table.
    }
}

void TScheduleTable::SetModified(bool modified)
{
    modified_ = modified;
    if (modified)
        ++changeCount_;
}

void TScheduleTable::SetEditText(int col, int row, std::string text)
{
    grid_.SetCell(col, row, std::move(text));
    SetModified(true);
}

void TScheduleTable::RenumberRows()
{
    for (int r = 1; r < grid_.RowCount(); ++r) {
        std::string number = std::to_string(r);
        if (r < 10)
            number.insert(number.begin(), ' ');
        grid_.SetCell(ScheduleGrid::kNumberCol, r, std::move(number));
    }
}

void TScheduleTable::InsertRow(int32_t row)
{
    // Only before a data row: inserting at the header would push the header
    // down into the data.
    if (row < 1 || row >= grid_.RowCount())
        return;
    grid_.InsertRows(row, 1);
    RenumberRows();
    SetModified(true);
}

void TScheduleTable::DeleteRow(int32_t row)
{
    if (row < 1 || row >= grid_.RowCount() || grid_.RowCount() < kMinRowCountForDelete)
        return;
    grid_.RemoveRows(row, 1);
    RenumberRows();
    SetModified(true);
}

void TScheduleTable::MoveRowUp(int32_t row)
{
    if (row < 2 || row >= grid_.RowCount())
        return;
    grid_.SwapRows(row - 1, row, ScheduleGrid::kDateCol);
    grid_.SetRow(row - 1);
    SetModified(true);
}

void TScheduleTable::MoveRowDown(int32_t row)
{
    if (row < 1 || row >= grid_.RowCount() - 1)
        return;
    grid_.SwapRows(row, row + 1, ScheduleGrid::kDateCol);
    grid_.SetRow(row + 1);
    SetModified(true);
}

int32_t TScheduleTable::Load()
{
    std::optional<std::string> bytes;
    try {
        bytes = platform::ReadFileIfExists(path_, platform::kScheduleReadLimit);
    } catch (const platform::FileIoError& e) {
        throw ScheduleError(e.what(), e.SystemError());
    }
    if (bytes) {
        const std::vector<std::string_view> lines = jconvert::SplitLines(*bytes);
        const int count = lines.size() + 1 > static_cast<std::size_t>(kMinLoadedRowCount)
            ? static_cast<int>(lines.size() + 1)
            : kMinLoadedRowCount;
        grid_.SetRowCount(count);
        for (int r = 1; r < grid_.RowCount(); ++r) {
            std::array<std::string, ScheduleGrid::kColCount> cells;
            if (static_cast<std::size_t>(r - 1) < lines.size()) {
                const std::vector<std::string> fields
                    = SplitDelimited(lines[static_cast<std::size_t>(r - 1)], ',', cells.size());
                for (std::size_t c = 0; c < cells.size() && c < fields.size(); ++c)
                    cells[c] = fields[c].empty() ? std::string(" ") : fields[c];
                // A row whose date and text are both empty was an empty row.
                if (cells[ScheduleGrid::kDateCol] == " " && cells[ScheduleGrid::kTextCol] == " ")
                    cells = {};
            }
            for (int c = 0; c < ScheduleGrid::kColCount; ++c)
                grid_.SetCell(c, r, std::move(cells[static_cast<std::size_t>(c)]));
        }
        loadError_.reset();
    }
    RenumberRows();
    return 1;
}

void TScheduleTable::Save()
{
    if (!modified_)
        return;
    if (loadError_)
        throw ScheduleError(
            path_.string() + " could not be read, so it is not overwritten: " + loadError_->what(),
            loadError_->SystemError());
    std::string out;
    for (int r = 1; r < grid_.RowCount(); ++r) {
        out.append("\"\",");
        AppendQuoted(out, grid_.Cell(ScheduleGrid::kDateCol, r));
        out.push_back(',');
        AppendQuoted(out, grid_.Cell(ScheduleGrid::kTextCol, r));
        out.append("\r\n");
    }
    try {
        platform::ReplaceFile(path_, out);
    } catch (const platform::FileIoError& e) {
        throw ScheduleError(e.what());
    }
    savedChangeCount_ = changeCount_;
}

} // namespace schedule
