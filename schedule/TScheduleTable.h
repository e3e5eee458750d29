#pragma once

#include "schedule/Clock.h"
#include "schedule/LookAhead.h"
#include "schedule/ScheduleError.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace schedule {

class ScheduleGrid;

// The schedule: binds the grid, reads and writes "schedule.txt", carries out
// the row operations of the schedule tab, normalises and checks the date
// expressions typed into the grid and lists the entries coming up in the
// next days. It keeps no rows of its own; every operation works on the
// cells of the grid.
class TScheduleTable {
public:
    // The file's fixed name, in the folder given to the constructor (the
    // folder of the executable).
    static constexpr const char* kFileName = "schedule.txt";

    // Labels and sizes the grid, then loads folder/"schedule.txt". A missing
    // file is no error. A file that exists but cannot be read leaves the
    // grid's rows as they are and is kept as LoadFailure() rather than
    // thrown, so the window always gets its table.
    TScheduleTable(ScheduleGrid& grid, const std::filesystem::path& folder, Clock clock = LocalDateClock());
    // The same with the file named directly (the command line works on any
    // file this way).
    static std::unique_ptr<TScheduleTable> ForFile(
        ScheduleGrid& grid, const std::filesystem::path& file, Clock clock = LocalDateClock());

    // Saves when modified. A destructor cannot report a failure, so callers
    // that must know (the window's close) call Save() first; the destructor
    // then writes nothing unless the table changed again after that save.
    ~TScheduleTable();

    TScheduleTable(const TScheduleTable&) = delete;
    TScheduleTable& operator=(const TScheduleTable&) = delete;

    ScheduleGrid& Grid() const { return grid_; }
    const std::filesystem::path& FilePath() const { return path_; }
    // The error the constructor's load ended with, null when it succeeded.
    const ScheduleError* LoadFailure() const { return loadError_ ? &*loadError_ : nullptr; }
    // Its message, empty when the load succeeded.
    std::string LoadError() const { return loadError_ ? loadError_->what() : std::string(); }

    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // What the grid's edit hook does: the editor hands text to a cell, and
    // any use of the editor marks the table modified.
    void SetEditText(int col, int row, std::string text);

    // Row operations on grid rows; rows outside their range do nothing.
    void InsertRow(int32_t row);
    void DeleteRow(int32_t row);
    void MoveRowUp(int32_t row);
    void MoveRowDown(int32_t row);
    void RenumberRows();

    // Reads the file into the grid; returns 1. Throws ScheduleError when the
    // file exists but cannot be read (the grid is then unchanged).
    int32_t Load();
    // Writes the file when modified, replacing it atomically. Throws
    // ScheduleError when it cannot be written; the old file is then intact.
    void Save();

    // Date language. The normalised form is "kind/field/..."; kind -1 means
    // the text could not be classified.
    static std::string NormalizeDate(std::string_view text);
    static std::string ExpandDate(std::string_view normalized);
    static void SplitDate(
        std::string_view normalized, int32_t& kind, int32_t& field1, int32_t& field2, int32_t& field3);

    // The check button's work: rewrites every non-empty date cell in display
    // form, stopping at the first one that cannot be classified. On failure
    // the offending cell becomes the grid's current cell and the result
    // carries its row and the message to show; row 0 means every cell
    // passed. The table's modified flag is not touched.
    struct CheckResult {
        int32_t row = 0;
        std::string message;
        bool Ok() const { return row == 0; }
    };
    CheckResult Check();

    // Look-ahead windows in days for weekly, monthly, yearly and dated
    // entries, set before every ListUpcoming.
    void SetLookAhead(int32_t weekly, int32_t monthly, int32_t yearly, int32_t dated);
    int32_t WeeklyAhead() const { return weeklyAhead_; }
    int32_t MonthlyAhead() const { return monthlyAhead_; }
    int32_t YearlyAhead() const { return yearlyAhead_; }
    int32_t DatedAhead() const { return datedAhead_; }
    // Empties list and fills it with one line "<days>日後<date cell> <text
    // cell>" per entry whose next occurrence lies within its window, in grid
    // row order; returns 1. Entries whose date cannot be classified or
    // cannot form a calendar date are left out.
    int32_t ListUpcoming(std::vector<std::string>& list) const;
    std::vector<std::string> ListUpcoming(const LookAhead& ahead, std::chrono::year_month_day today) const;

    void SetClock(Clock clock) { clock_ = std::move(clock); }

private:
    struct FileTag { };
    TScheduleTable(ScheduleGrid& grid, std::filesystem::path file, Clock clock, FileTag);

    ScheduleGrid& grid_;
    std::filesystem::path path_;
    Clock clock_;
    std::optional<ScheduleError> loadError_;
    bool modified_ = false;
    // Counts changes so that the destructor can skip a write that an
    // explicit Save() already made.
    std::uint64_t changeCount_ = 0;
    std::uint64_t savedChangeCount_ = 0;
    int32_t weeklyAhead_ = 1;
    int32_t monthlyAhead_ = 3;
    int32_t yearlyAhead_ = 5;
    int32_t datedAhead_ = 10;
};

} // namespace schedule
