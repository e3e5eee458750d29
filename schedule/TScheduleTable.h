#pragma once

#include "platform/FileIo.h"
#include "schedule/Entry.h"
#include "schedule/LookAhead.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace schedule {

// The schedule: an ordered list of entries with the file "schedule.txt" it
// is read from and written to, the row operations of the schedule tab, the
// date language (normalising and checking date expressions) and the list of
// entries coming up in the next days.
class TScheduleTable {
public:
    // The file's fixed name in the folder of the executable.
    static constexpr const char* kFileName = "schedule.txt";

    // The most entries a table holds: a file with more lines is not read,
    // and inserting stops there. Far beyond any real schedule, it keeps a
    // file of blank lines from costing an entry per line.
    static constexpr std::size_t kMaxEntryCount = 50000;

    // Loads file. A missing file is no error: the table has 9 empty
    // entries. A loaded file gives one entry per line, at least 20. A file
    // that exists but cannot be read, or has more than kMaxEntryCount lines,
    // leaves the 9 empty entries and is kept as LoadFailure() rather than
    // thrown, so the window always gets its table.
    explicit TScheduleTable(std::filesystem::path file);

    // Saves when modified. A destructor cannot report a failure, so callers
    // that must know (the window's close) call Save() first; the destructor
    // then writes nothing unless the table changed again after that save.
    ~TScheduleTable();

    TScheduleTable(const TScheduleTable&) = delete;
    TScheduleTable& operator=(const TScheduleTable&) = delete;

    // The error the constructor's load ended with, null when it succeeded.
    const platform::FileIoError* LoadFailure() const { return loadError_ ? &*loadError_ : nullptr; }

    const std::vector<Entry>& Entries() const { return entries_; }

    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // Replace an entry's date or text and mark the table modified; an index
    // past the end does nothing.
    void SetDate(std::size_t index, std::string date);
    void SetText(std::size_t index, std::string text);

    // Row operations on entry indexes. Insert puts an empty entry before
    // index while the table has fewer than kMaxEntryCount entries. Delete
    // removes the entry at index; the table shrinks down to 15 entries, and
    // from there (or from a smaller size) an empty entry is added at the
    // end instead, so deleting the last empty entries of a short table does
    // nothing. Up and down exchange an entry with its neighbour. An
    // operation whose Can... is false does nothing; one that acts marks the
    // table modified.
    bool CanInsertRow(std::size_t index) const;
    bool CanDeleteRow(std::size_t index) const;
    bool CanMoveRowUp(std::size_t index) const;
    bool CanMoveRowDown(std::size_t index) const;
    void InsertRow(std::size_t index);
    void DeleteRow(std::size_t index);
    void MoveRowUp(std::size_t index);
    void MoveRowDown(std::size_t index);

    // Writes the file when modified, replacing it atomically; the old file
    // is intact when that fails (platform::FileIoError). A table whose file
    // could not be read refuses to overwrite it, and so does one whose file
    // would be larger than a start reads (ScheduleError).
    void Save();

    // Date language. The normalised form is "kind/field/..."; kind -1 means
    // the text could not be classified. A full date's year field is the
    // Gregorian year, "-n" for 平成n or "Rn" for 令和n (元年 is 1).
    static std::string NormalizeDate(std::string_view text);
    static std::string ExpandDate(std::string_view normalized);
    static void SplitDate(
        std::string_view normalized, int32_t& kind, int32_t& field1, int32_t& field2, int32_t& field3);

    // The check button's work: rewrites every non-empty date in display
    // form, stopping at the first one that the upcoming list could never
    // place (not classified, a field that is no number, a number out of
    // range, a day no month or year has). It returns that entry's index and
    // a message naming the row, the text as typed (a long one cut short),
    // what is wrong and examples of the expected form. Every date it accepts
    // is one that ListUpcoming places on some day. The modified flag is not
    // touched.
    struct CheckFailure {
        std::size_t index;
        std::string message;
    };
    std::optional<CheckFailure> Check();

    // One line "<days>日後<date> <text>" per entry whose next occurrence,
    // counted in days from today, lies within its window; in entry order.
    // Entries the check would reject, and those whose date does not exist
    // in the year looked at, are left out. With ahead.holidays, each
    // national holiday within the dated window adds "<days>日後<m>月<d>日
    // <name>", placed before the first month-day or full-date line that
    // falls later (after those of its own day), the rest at the end.
    std::vector<std::string> ListUpcoming(const LookAhead& ahead, std::chrono::year_month_day today) const;

private:
    void Load();

    std::filesystem::path path_;
    std::vector<Entry> entries_;
    std::optional<platform::FileIoError> loadError_;
    bool modified_ = false;
    // Counts changes so that the destructor can skip a write that an
    // explicit Save() already made.
    std::uint64_t changeCount_ = 0;
    std::uint64_t savedChangeCount_ = 0;
};

} // namespace schedule
