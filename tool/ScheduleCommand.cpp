// corkpane-tool schedule: the schedule table, its file and the date language
// from the command line. Text in and out is Shift_JIS bytes.
#include "Arguments.h"
#include "CommandRegistry.h"
#include "app/DrawKabegami.h"
#include "app/FilesLock.h"
#include "calendar/CalendarSubscription.h"
#include "calendar/UpcomingEvents.h"
#include "jconvert/TextLines.h"
#include "platform/UserError.h"
#include "platform/UserFolders.h"
#include "schedule/TScheduleTable.h"

#include <charconv>
#include <chrono>
#include <filesystem>
#include <istream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using schedule::TScheduleTable;

constexpr const char* kSynopsis
    = "schedule normalize | expand | upcoming --today YYYY-MM-DD [--ahead W,M,Y,D] [--holidays]"
      " [--calendar URL|FILE]... FILE"
      " | check FILE | edit FILE [insert ROW | delete ROW | up ROW | down ROW"
      " | set ROW COL TEXT]...";

int Usage(tool::Io& io, const std::string& message)
{
    io.err << "corkpane-tool schedule: " << message << '\n';
    return tool::kExitUsage;
}

int Failure(tool::Io& io, const std::string& message)
{
    io.err << "corkpane-tool schedule: " << message << '\n';
    return tool::kExitFailure;
}

// Applies f to every line of the input (a last line without an end counts
// too) and prints each result followed by LF.
template <typename F> int MapLines(tool::Io& io, F&& f)
{
    const std::string input((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
    for (const std::string_view line : jconvert::SplitLines(input))
        io.out << f(line) << '\n';
    return tool::kExitOk;
}

// Loads file into a fresh table; a file that cannot be read is reported.
std::unique_ptr<TScheduleTable> OpenTable(const std::string& file)
{
    auto table = std::make_unique<TScheduleTable>(file);
    if (const platform::FileIoError* failure = table->LoadFailure())
        throw *failure;
    return table;
}

// The entry index of a row number as the grid shows it (1 is the first
// entry); nothing for rows before it.
std::optional<std::size_t> EntryIndex(int row)
{
    if (row < 1)
        return std::nullopt;
    return static_cast<std::size_t>(row - 1);
}

// The events of the calendars named with --calendar among the schedule's
// lines, within the dated look-ahead. Each calendar is fetched now (its copy
// kept in the user's cache folder, used when the fetch fails); a calendar
// that fails or is read only in part is reported on standard error and the
// others still count. Returns kExitFailure when any calendar was reported.
int AddCalendarLines(const std::vector<std::string>& addresses, int dated, std::chrono::year_month_day today,
    std::vector<std::string>& lines, tool::Io& io)
{
    calendar::FetchOptions options;
    options.cacheFolder = platform::UserFolders::OfProcess().OwnCache();
    if (!options.cacheFolder.empty())
        options.cacheFolder /= "calendars";
    std::vector<calendar::Occurrence> events;
    int status = tool::kExitOk;
    for (std::string typed : addresses) {
        // A file may be named relative to the working folder here.
        if (!typed.empty() && typed.front() != '/' && typed.find("://") == std::string::npos)
            typed = std::filesystem::absolute(typed).string();
        try {
            calendar::SubscriptionResult result = calendar::LoadSubscription(
                calendar::ReadCalendarAddress(typed), options, { today, dated, std::string() });
            for (const std::string& problem : result.problems) {
                io.err << "corkpane-tool schedule: " << problem << '\n';
                status = tool::kExitFailure;
            }
            events.insert(events.end(), result.occurrences.begin(), result.occurrences.end());
        } catch (const platform::UserError& e) {
            io.err << "corkpane-tool schedule: " << e.what() << '\n';
            status = tool::kExitFailure;
        }
    }
    lines = calendar::MergeUpcoming(lines, std::move(events), today);
    return status;
}

int RunUpcoming(const tool::Args& args, tool::Io& io)
{
    std::optional<std::chrono::year_month_day> today;
    // A new window's look-ahead boxes, holidays only when asked for.
    schedule::LookAhead ahead = app::LookAheadFrom(app::Settings());
    ahead.holidays = false;
    int* const aheadFields[4] = { &ahead.weekly, &ahead.monthly, &ahead.yearly, &ahead.dated };
    std::optional<std::string> file;
    std::vector<std::string> calendars;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--today") {
            if (++i == args.size() || !(today = tool::ParseIsoDate(args[i])))
                return Usage(io, "--today needs a date YYYY-MM-DD");
        } else if (arg == "--ahead") {
            if (++i == args.size())
                return Usage(io, "--ahead needs four numbers W,M,Y,D");
            std::string_view rest = args[i];
            for (int k = 0; k < 4; ++k) {
                const std::size_t comma = k < 3 ? rest.find(',') : rest.size();
                const auto value = comma == std::string_view::npos
                    ? std::nullopt
                    : tool::ParseNumber<int>(rest.substr(0, comma));
                if (!value || (k == 3 && comma != rest.size()))
                    return Usage(io, "--ahead needs four numbers W,M,Y,D");
                *aheadFields[k] = *value;
                rest = k < 3 ? rest.substr(comma + 1) : std::string_view {};
            }
        } else if (arg == "--holidays") {
            ahead.holidays = true;
        } else if (arg == "--calendar") {
            if (++i == args.size())
                return Usage(io, "--calendar needs a URL or FILE");
            calendars.push_back(args[i]);
        } else if (!file && !(arg.size() > 1 && arg[0] == '-')) {
            file = arg;
        } else {
            return Usage(io, "unexpected argument '" + tool::Shown(arg) + "'");
        }
    }
    if (!today)
        return Usage(io, "upcoming needs --today YYYY-MM-DD");
    if (!file)
        return Usage(io, "upcoming needs a FILE");
    const auto table = OpenTable(*file);
    std::vector<std::string> lines = table->ListUpcoming(ahead, *today);
    const int status
        = calendars.empty() ? tool::kExitOk : AddCalendarLines(calendars, ahead.dated, *today, lines, io);
    for (const std::string& line : lines)
        io.out << line << '\n';
    return status;
}

int RunCheck(const tool::Args& args, tool::Io& io)
{
    if (args.size() != 2)
        return Usage(io, "check needs exactly one FILE");
    const auto table = OpenTable(args[1]);
    const std::optional<TScheduleTable::CheckFailure> failure = table->Check();
    // The dates up to the failing one, each rewritten or left as it was.
    const std::size_t shown = failure ? failure->index : table->Entries().size();
    for (std::size_t i = 0; i < shown; ++i)
        io.out << table->Entries()[i].date << '\n';
    if (!failure)
        return tool::kExitOk;
    io.out << failure->message << '\n';
    return tool::kExitFailure;
}

int RunEdit(const tool::Args& args, tool::Io& io)
{
    if (args.size() < 2)
        return Usage(io, "edit needs a FILE");
    // Check the whole script before touching the file.
    const auto rowArg
        = [&](std::size_t i) { return i < args.size() ? tool::ParseNumber<int>(args[i]) : std::nullopt; };
    for (std::size_t i = 2; i < args.size();) {
        const std::string& op = args[i];
        if (op == "insert" || op == "delete" || op == "up" || op == "down") {
            if (!rowArg(i + 1))
                return Usage(io, op + " needs a ROW number");
            i += 2;
        } else if (op == "set") {
            if (!rowArg(i + 1) || !rowArg(i + 2) || i + 3 >= args.size())
                return Usage(io, "set needs ROW COL TEXT");
            i += 4;
        } else {
            return Usage(io, "unknown edit operation '" + tool::Shown(op) + "'");
        }
    }

    // Another run on the file's folder (the window, the logon run) would
    // save over this edit or have it saved over: wait for it.
    const std::filesystem::path file(args[1]);
    const platform::FolderLock lock
        = app::LockFilesForRun(file.has_parent_path() ? file.parent_path() : std::filesystem::path("."),
            [&io](const std::string& text) { io.err << text << '\n'; });
    auto table = OpenTable(args[1]);
    for (std::size_t i = 2; i < args.size();) {
        const std::string& op = args[i];
        const std::optional<std::size_t> index = EntryIndex(*rowArg(i + 1));
        if (op == "set") {
            // Column 1 is the date, 2 the text. As with the window's editor,
            // every set marks the table modified, even one outside the
            // entries.
            const int col = *rowArg(i + 2);
            if (index && *index < table->Entries().size() && (col == 1 || col == 2)) {
                if (col == 1)
                    table->SetDate(*index, args[i + 3]);
                else
                    table->SetText(*index, args[i + 3]);
            } else {
                table->SetModified(true);
            }
            i += 4;
            continue;
        }
        if (index && op == "insert")
            table->InsertRow(*index);
        else if (index && op == "delete")
            table->DeleteRow(*index);
        else if (index && op == "up")
            table->MoveRowUp(*index);
        else if (index && op == "down")
            table->MoveRowDown(*index);
        i += 2;
    }
    // Saving here rather than in the destructor lets a failure be reported;
    // the destructor then has nothing left to write.
    table->Save();
    table.reset();
    return tool::kExitOk;
}

int Run(const tool::Args& args, tool::Io& io)
{
    if (args.empty())
        return Usage(io, "missing subcommand; usage: " + std::string(kSynopsis));
    const std::string& sub = args[0];
    try {
        if (sub == "normalize" || sub == "expand") {
            if (args.size() != 1)
                return Usage(io, sub + " takes no arguments; it reads standard input");
            if (sub == "normalize")
                return MapLines(io, [](std::string_view l) { return TScheduleTable::NormalizeDate(l); });
            return MapLines(io, [](std::string_view l) { return TScheduleTable::ExpandDate(l); });
        }
        if (sub == "upcoming")
            return RunUpcoming(args, io);
        if (sub == "check")
            return RunCheck(args, io);
        if (sub == "edit")
            return RunEdit(args, io);
    } catch (const platform::UserError& e) {
        return Failure(io, e.what());
    }
    return Usage(io, "unknown subcommand '" + tool::Shown(sub) + "'");
}

const tool::Registration reg { "schedule", kSynopsis, &Run };

} // namespace
