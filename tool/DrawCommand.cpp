// corkpane-tool draw: the wallpaper draw from the command line. Loads
// "corkpane.ini", "memo.txt" and "schedule.txt" from the program's folder
// (or --dir) as the window does, composes the wallpaper and writes
// "kabegami.bmp" there. Options replace what the desktop would say; only
// --install tells the desktop to show the result. --install is the daily
// redraw's: while another run holds the folder it draws nothing and says
// so; a draw without it waits for that run. The calendars are drawn from
// their kept copies unless --fetch-calendars asks the servers first.
#include "Arguments.h"
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "GuiApplication.h"
#include "app/CalendarEvents.h"
#include "app/Clock.h"
#include "app/DrawKabegami.h"
#include "app/FilesLock.h"
#include "app/SettingsStore.h"
#include "platform/CommandRunner.h"
#include "platform/FileIo.h"
#include "platform/LinuxDesktop.h"
#include "platform/PlacementNames.h"
#include "platform/SessionRecord.h"
#include "platform/UserFolders.h"
#include "schedule/TScheduleTable.h"
#include "tool/Texts.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace {

constexpr const char* kSynopsis
    = "draw [--screen WxH] [--dpi N] [--desktop-color N] [--wallpaper PATH] [--tile TEXT] [--style TEXT]"
      " [--placement none|centered|wallpaper|scaled|stretched|zoom|spanned|classic-tiled|classic-centered|"
      "classic-stretched|classic-blank] [--today YYYY-MM-DD] [--schedule FILE] [--fetch-calendars] "
      "[--install]"
      " [--dir DIR]";

struct Options {
    app::DesktopOverrides desktop;
    // The older platform's values, read together (a missing one is "0"),
    // unless --placement is given.
    std::optional<std::string> tile;
    std::optional<std::string> style;
    std::optional<std::chrono::year_month_day> today;
    std::optional<std::string> scheduleFile;
    bool install = false;
    bool fetchCalendars = false;
};

// Parses the options; returns an error text for a usage error.
std::string Parse(const tool::Args& args, Options& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--install") {
            o.install = true;
            continue;
        }
        if (name == "--fetch-calendars") {
            o.fetchCalendars = true;
            continue;
        }
        static const char* const valued[] = { "--screen", "--dpi", "--desktop-color", "--wallpaper", "--tile",
            "--style", "--placement", "--today", "--schedule" };
        if (std::find(std::begin(valued), std::end(valued), name) == std::end(valued))
            return "unknown option " + tool::Shown(name);
        if (i + 1 >= args.size())
            return name + " needs a value";
        const std::string& value = args[++i];
        if (name == "--screen") {
            const auto x = value.find('x');
            const auto w = x == std::string::npos
                ? std::nullopt
                : tool::ParseNumber<int>(std::string_view(value).substr(0, x));
            const auto h = x == std::string::npos
                ? std::nullopt
                : tool::ParseNumber<int>(std::string_view(value).substr(x + 1));
            if (!w || !h || *w < 1 || *h < 1)
                return "--screen takes WIDTHxHEIGHT, for example 1920x1080";
            o.desktop.screen = platform::ScreenSize { *w, *h };
        } else if (name == "--dpi") {
            o.desktop.pixelsPerInch = tool::ParseNumber<int>(value);
            if (!o.desktop.pixelsPerInch || *o.desktop.pixelsPerInch < 1)
                return "--dpi takes a positive number";
        } else if (name == "--desktop-color") {
            o.desktop.colour = tool::ParseNumber<std::uint32_t>(value);
            if (!o.desktop.colour || *o.desktop.colour > 0x00FFFFFFu)
                return "--desktop-color takes 0x00BBGGRR as a decimal number";
        } else if (name == "--wallpaper") {
            o.desktop.picture = value;
        } else if (name == "--tile") {
            o.tile = value;
        } else if (name == "--style") {
            o.style = value;
        } else if (name == "--placement") {
            o.desktop.placement = platform::PlacementFromName(value);
            if (!o.desktop.placement)
                return "--placement takes none, centered, wallpaper, scaled, stretched, zoom, spanned, "
                       "classic-tiled, classic-centered, classic-stretched or classic-blank";
        } else if (name == "--today") {
            o.today = tool::ParseIsoDate(value);
            if (!o.today)
                return "--today takes a date YYYY-MM-DD";
        } else { // --schedule
            o.scheduleFile = value;
        }
    }
    // --placement, where given, says it in the one form.
    if ((o.tile || o.style) && !o.desktop.placement)
        o.desktop.placement = platform::ClassicPlacement(o.tile.value_or("0"), o.style.value_or("0"));
    return {};
}

int Run(const tool::Args& given, tool::Io& io)
{
    tool::Args args = given;
    std::filesystem::path folder;
    std::string dirError;
    Options options;
    if (const std::string error
        = tool::TakeDirOption(args, folder, dirError) ? Parse(args, options) : dirError;
        !error.empty()) {
        io.err << "corkpane-tool draw: " << error << "\nusage: corkpane-tool " << kSynopsis << '\n';
        return tool::kExitUsage;
    }
    try {
        const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
        // The daily redraw (--install, from the timer) leaves the day's draw
        // to a run that holds the files, the window or the logon run; any
        // other draw waits for it like every run that writes.
        std::optional<platform::FolderLock> lock;
        if (options.install) {
            lock = platform::FolderLock::Take(folder, std::chrono::milliseconds::zero());
            if (!lock) {
                message(app::RedrawSkippedMessage(folder));
                return tool::kExitOk;
            }
        } else {
            lock = app::LockFilesForRun(folder, message);
        }
        app::Settings settings;
        std::string memo;
        app::LoadSettings(folder, settings, memo, message);

        const schedule::TScheduleTable table(options.scheduleFile
                ? std::filesystem::path(*options.scheduleFile)
                : folder / schedule::TScheduleTable::kFileName);
        if (const platform::FileIoError* failure = table.LoadFailure())
            throw *failure;

        if (options.install) {
            // Started by the service manager, outside the session: the
            // display and desktop the window last saw stand in for what
            // this environment lacks, also for the desktop's own commands.
            for (const auto& [name, value] : platform::MissingSessionVariables(
                     platform::SessionRecordFile(platform::UserFolders::OfProcess()),
                     &platform::ProcessEnvironment))
                ::setenv(name.c_str(), value.c_str(), 0);
        }
        tool::EnsureGuiApplication();
        platform::ProcessRunner runner;
        platform::LinuxDesktop desktop(runner, &platform::ProcessEnvironment);
        app::DrawRequest request;
        request.settings = std::move(settings);
        request.memo = memo;
        request.schedule = &table;
        request.today = options.today ? *options.today : app::LocalDateClock()();
        request.outputFile = folder / "kabegami.bmp";
        request.overrides = options.desktop;
        request.install = options.install;
        // A calendar that cannot be used is said; the draw goes on without it.
        app::CalendarEvents calendars = app::LoadCalendarEvents(request.settings, request.today,
            app::UserCalendarFetch(
                options.fetchCalendars ? calendar::FetchMode::Network : calendar::FetchMode::CacheOnly));
        request.events = std::move(calendars.events);
        for (const std::string& problem : calendars.problems)
            io.err << problem << '\n';
        if (const platform::Installation installed = app::DrawKabegami(desktop, request); !installed.taken) {
            std::error_code ec;
            const std::filesystem::path drawn = std::filesystem::absolute(request.outputFile, ec);
            io.err << installed.problem << '\n'
                   << tool::texts::kWallpaperNotTaken
                   << platform::PathText(ec ? request.outputFile : drawn.lexically_normal()) << '\n';
            return tool::kExitFailure;
        }
        return tool::kExitOk;
    } catch (const std::exception& error) {
        io.err << error.what() << '\n';
        return tool::kExitFailure;
    }
}

const tool::Registration reg { "draw", kSynopsis, &Run };

} // namespace
