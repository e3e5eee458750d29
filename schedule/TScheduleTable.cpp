#include "schedule/TScheduleTable.h"

#include "jconvert/TextLines.h"
#include "schedule/DelimitedText.h"
#include "schedule/ScheduleError.h"
#include "schedule/Texts.h"

#include <algorithm>

namespace schedule {

namespace {

// A new table offers nine empty entries to type into; a loaded one at least
// twenty.
constexpr std::size_t kNewEntryCount = 9;
constexpr std::size_t kMinLoadedEntryCount = 20;
// Deleting shrinks the table down to 15 entries; from there on (and in a
// smaller table) the entries below move up and an empty one is added at
// the end, so the grid keeps its size.
constexpr std::size_t kMinEntryCountAfterDelete = 15;

// A cell as a quoted field. The file has one line per entry, so a line break
// (or a zero byte, which ends a line when read) inside a cell would split
// or cut the entry; it is written as a space instead.
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

// A line of the file: number (ignored, never stored), date, text. A field
// that is there but empty reads as a single space, so an entry saved with
// one empty cell comes back with " " there; a missing field reads as empty.
// A line whose date and text are both empty fields is an empty entry.
Entry ReadLine(std::string_view line)
{
    const std::vector<std::string> fields = SplitDelimited(line, ',', 3);
    const auto cell = [&fields](std::size_t i) -> std::string {
        if (i >= fields.size())
            return {};
        return fields[i].empty() ? " " : fields[i];
    };
    Entry entry { cell(1), cell(2) };
    if (entry.date == " " && entry.text == " ")
        return {};
    return entry;
}

// Whether text holds more lines than max, as SplitLines would cut it,
// without building them. Counting the line-end bytes alone is quick and
// settles every ordinary file; only one near the bound is walked.
bool HasMoreLines(std::string_view text, std::size_t max)
{
    const auto ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'))
        + static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
    if (ends < max)
        return false;
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            ++count;
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        }
    }
    const char last = text.empty() ? '\n' : text.back();
    return count + (last != '\r' && last != '\n' ? 1 : 0) > max;
}

} // namespace

TScheduleTable::TScheduleTable(std::filesystem::path file)
    : path_(std::move(file))
    , entries_(kNewEntryCount)
{
    try {
        Load();
    } catch (const platform::FileIoError& e) {
        // The window needs its table even when the file is unreadable; the
        // table keeps its empty entries and Save refuses to overwrite the
        // file.
        loadError_ = e;
    }
}

TScheduleTable::~TScheduleTable()
{
    if (!modified_ || changeCount_ == savedChangeCount_)
        return;
    try {
        Save();
    } catch (const platform::UserError&) {
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

void TScheduleTable::SetDate(std::size_t index, std::string date)
{
    if (index >= entries_.size())
        return;
    entries_[index].date = std::move(date);
    SetModified(true);
}

void TScheduleTable::SetText(std::size_t index, std::string text)
{
    if (index >= entries_.size())
        return;
    entries_[index].text = std::move(text);
    SetModified(true);
}

bool TScheduleTable::CanInsertRow(std::size_t index) const
{
    return index < entries_.size() && entries_.size() < kMaxEntryCount;
}

bool TScheduleTable::CanDeleteRow(std::size_t index) const
{
    if (index >= entries_.size())
        return false;
    if (entries_.size() > kMinEntryCountAfterDelete)
        return true;
    // At the minimum size, deleting an empty entry with only empty ones
    // below it would change nothing.
    return std::any_of(entries_.begin() + static_cast<std::ptrdiff_t>(index), entries_.end(),
        [](const Entry& e) { return !e.date.empty() || !e.text.empty(); });
}

bool TScheduleTable::CanMoveRowUp(std::size_t index) const
{
    return index >= 1 && index < entries_.size();
}

bool TScheduleTable::CanMoveRowDown(std::size_t index) const
{
    return index + 1 < entries_.size();
}

void TScheduleTable::InsertRow(std::size_t index)
{
    if (!CanInsertRow(index))
        return;
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), Entry {});
    SetModified(true);
}

void TScheduleTable::DeleteRow(std::size_t index)
{
    if (!CanDeleteRow(index))
        return;
    const std::size_t size = entries_.size();
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    if (size <= kMinEntryCountAfterDelete)
        entries_.emplace_back();
    SetModified(true);
}

void TScheduleTable::MoveRowUp(std::size_t index)
{
    if (!CanMoveRowUp(index))
        return;
    std::swap(entries_[index - 1], entries_[index]);
    SetModified(true);
}

void TScheduleTable::MoveRowDown(std::size_t index)
{
    if (!CanMoveRowDown(index))
        return;
    std::swap(entries_[index], entries_[index + 1]);
    SetModified(true);
}

void TScheduleTable::Load()
{
    const std::optional<std::string> bytes = platform::ReadFileIfExists(path_, platform::kScheduleReadLimit);
    if (!bytes)
        return;
    // Counted before anything is built: a file of a million line feeds
    // would otherwise cost a million entries.
    if (HasMoreLines(*bytes, kMaxEntryCount))
        throw platform::FileIoError(platform::CannotOpenMessage(
            path_, texts::kTooManyRows + std::to_string(kMaxEntryCount) + texts::kTooManyRowsEnd));
    const std::vector<std::string_view> lines = jconvert::SplitLines(*bytes);
    entries_.assign(std::max(lines.size(), kMinLoadedEntryCount), Entry {});
    for (std::size_t i = 0; i < lines.size(); ++i)
        entries_[i] = ReadLine(lines[i]);
}

void TScheduleTable::Save()
{
    if (!modified_)
        return;
    if (loadError_)
        throw ScheduleError(
            std::string(loadError_->what()) + texts::kNotOverwritten, loadError_->SystemError());
    std::string out;
    for (const Entry& entry : entries_) {
        out.append("\"\",");
        AppendQuoted(out, entry.date);
        out.push_back(',');
        AppendQuoted(out, entry.text);
        out.append("\r\n");
    }
    // A file the next start could not read would keep the schedule from
    // it for good.
    if (out.size() > platform::kScheduleReadLimit)
        throw ScheduleError(platform::CannotCreateMessage(path_, texts::kTooLarge));
    platform::ReplaceFile(path_, out, platform::kScheduleReadLimit);
    savedChangeCount_ = changeCount_;
}

} // namespace schedule
