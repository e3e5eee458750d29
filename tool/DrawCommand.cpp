// corkpane-tool draw: the wallpaper draw from the command line. Loads
// "corkpane.ini", "memo.txt" and "schedule.txt" from the program's folder
// (or --dir) as the window does, composes the wallpaper and writes
// "kabegami.bmp" there. Options replace what the desktop would say; only
// --install tells the desktop to show the result.
#include "Arguments.h"
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/Clock.h"
#include "app/DrawKabegami.h"
#include "app/SettingsStore.h"
#include "jconvert/TextLines.h"
#include "platform/CommandRunner.h"
#include "platform/LinuxDesktop.h"
#include "schedule/TScheduleTable.h"

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

namespace {

constexpr const char* kSynopsis
    = "draw [--screen WxH] [--dpi N] [--desktop-color N] [--wallpaper PATH] [--tile TEXT] [--style TEXT]"
      " [--today YYYY-MM-DD] [--schedule FILE] [--install] [--dir DIR]";

struct Options {
    app::DesktopOverrides desktop;
    std::optional<std::chrono::year_month_day> today;
    std::optional<std::string> scheduleFile;
    bool install = false;
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
        static const char* const valued[] = { "--screen", "--dpi", "--desktop-color", "--wallpaper", "--tile",
            "--style", "--today", "--schedule" };
        if (std::find(std::begin(valued), std::end(valued), name) == std::end(valued))
            return "unknown option " + name;
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
            o.desktop.wallpaper = value;
        } else if (name == "--tile") {
            o.desktop.tileWallpaper = value;
        } else if (name == "--style") {
            o.desktop.wallpaperStyle = value;
        } else if (name == "--today") {
            o.today = tool::ParseIsoDate(value);
            if (!o.today)
                return "--today takes a date YYYY-MM-DD";
        } else { // --schedule
            o.scheduleFile = value;
        }
    }
    return {};
}

std::string Environment(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
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
        app::Settings settings;
        std::string memo;
        app::LoadSettings(folder, settings, memo, [&io](const std::string& text) { io.err << text << '\n'; });

        const schedule::TScheduleTable table(options.scheduleFile
                ? std::filesystem::path(*options.scheduleFile)
                : folder / schedule::TScheduleTable::kFileName);
        if (const platform::FileIoError* failure = table.LoadFailure())
            throw *failure;

        platform::ProcessRunner runner;
        platform::LinuxDesktop desktop(runner, &Environment);
        app::DrawRequest request;
        request.settings = std::move(settings);
        request.memoLines = jconvert::SplitLines<std::string>(memo);
        request.schedule = &table;
        request.today = options.today ? *options.today : app::LocalDateClock()();
        request.outputFile = folder / "kabegami.bmp";
        request.overrides = options.desktop;
        request.install = options.install;
        if (const platform::Installation installed = app::DrawKabegami(desktop, request); !installed.taken) {
            io.err << installed.problem << '\n'
                   << "corkpane-tool draw: kabegami.bmp was written, but the desktop did not take it as its "
                      "wallpaper\n";
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
