// corkpane-tool draw: the wallpaper draw from the command line. Loads
// "corkpane.ini", "memo.txt" and "schedule.txt" from the program's folder
// (or --dir) as the window does, composes the wallpaper and writes
// "kabegami.bmp" there. Options replace what the desktop would say; only --install tells
// the desktop to show the result.
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/DrawSettingsFromSettings.h"
#include "app/FileError.h"
#include "app/SettingsStore.h"
#include "app/TableScheduleSource.h"
#include "jconvert/TextLines.h"
#include "platform/CommandRunner.h"
#include "platform/LinuxDesktop.h"
#include "render/Kabegami.h"
#include "schedule/ScheduleGrid.h"
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
    std::optional<platform::ScreenSize> screen;
    std::optional<int> dpi;
    std::optional<std::uint32_t> desktopColor;
    std::optional<std::string> wallpaper;
    std::optional<std::string> tile;
    std::optional<std::string> style;
    std::optional<std::chrono::year_month_day> today;
    std::optional<std::string> scheduleFile;
    bool install = false;
};

template <typename T> std::optional<T> ParseNumber(std::string_view text)
{
    T value {};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::optional<std::chrono::year_month_day> ParseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = ParseNumber<int>(text.substr(0, 4));
    const auto m = ParseNumber<unsigned>(text.substr(5, 2));
    const auto d = ParseNumber<unsigned>(text.substr(8, 2));
    if (!y || !m || !d)
        return std::nullopt;
    const std::chrono::year_month_day date { std::chrono::year { *y }, std::chrono::month { *m },
        std::chrono::day { *d } };
    if (!date.ok() || *y < 1)
        return std::nullopt;
    return date;
}

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
            const auto w = x == std::string::npos ? std::nullopt
                                                  : ParseNumber<int>(std::string_view(value).substr(0, x));
            const auto h = x == std::string::npos ? std::nullopt
                                                  : ParseNumber<int>(std::string_view(value).substr(x + 1));
            if (!w || !h || *w < 1 || *h < 1)
                return "--screen takes WIDTHxHEIGHT, for example 1920x1080";
            o.screen = platform::ScreenSize { *w, *h };
        } else if (name == "--dpi") {
            o.dpi = ParseNumber<int>(value);
            if (!o.dpi || *o.dpi < 1)
                return "--dpi takes a positive number";
        } else if (name == "--desktop-color") {
            o.desktopColor = ParseNumber<std::uint32_t>(value);
            if (!o.desktopColor || *o.desktopColor > 0x00FFFFFFu)
                return "--desktop-color takes 0x00BBGGRR as a decimal number";
        } else if (name == "--wallpaper") {
            o.wallpaper = value;
        } else if (name == "--tile") {
            o.tile = value;
        } else if (name == "--style") {
            o.style = value;
        } else if (name == "--today") {
            o.today = ParseDate(value);
            if (!o.today)
                return "--today takes a date YYYY-MM-DD";
        } else { // --schedule
            o.scheduleFile = value;
        }
    }
    return {};
}

// The running desktop with the command line's values in place of its own.
// Nothing is installed unless asked for.
class CommandLineDesktop : public platform::Desktop {
public:
    CommandLineDesktop(const Options& options, platform::Desktop& desktop)
        : o_(options)
        , desktop_(desktop)
    {
    }

    platform::WallpaperSettings ReadWallpaperSettings() override
    {
        platform::WallpaperSettings s;
        if (!o_.wallpaper || !o_.tile || !o_.style)
            s = desktop_.ReadWallpaperSettings();
        s.wallpaper = o_.wallpaper.value_or(s.wallpaper);
        s.tileWallpaper = o_.tile.value_or(s.tileWallpaper);
        s.wallpaperStyle = o_.style.value_or(s.wallpaperStyle);
        return s;
    }
    platform::ScreenSize PrimaryScreenSize() override
    {
        return o_.screen ? *o_.screen : desktop_.PrimaryScreenSize();
    }
    int PixelsPerInch() override { return o_.dpi ? *o_.dpi : desktop_.PixelsPerInch(); }
    std::uint32_t DesktopColor() override
    {
        return o_.desktopColor ? *o_.desktopColor : desktop_.DesktopColor();
    }
    bool InstallWallpaper(const std::string& path) override
    {
        return !o_.install || desktop_.InstallWallpaper(path);
    }

private:
    const Options& o_;
    platform::Desktop& desktop_;
};

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

        const std::chrono::year_month_day today
            = options.today ? *options.today : schedule::LocalDateClock()();
        schedule::ScheduleGrid grid;
        const auto table = schedule::TScheduleTable::ForFile(grid,
            options.scheduleFile ? *options.scheduleFile
                                 : (folder / schedule::TScheduleTable::kFileName).string(),
            schedule::FixedDateClock(today));
        if (const schedule::ScheduleError* failure = table->LoadFailure())
            throw *failure;
        app::TableScheduleSource scheduleSource(*table);

        platform::ProcessRunner runner;
        platform::LinuxDesktop linux(runner, &Environment);
        CommandLineDesktop desktop(options, linux);

        render::KabegamiRequest request;
        request.settings = app::ToDrawSettings(settings);
        request.memoLines = jconvert::SplitLines<std::string>(memo);
        request.schedule = &scheduleSource;
        request.today
            = { static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
                  static_cast<int>(static_cast<unsigned>(today.day())) };
        request.outputPath = (folder / "kabegami.bmp").string();
        if (!render::DrawKabegami(desktop, request)) {
            io.err << "corkpane-tool draw: kabegami.bmp was written, but the desktop did not take it as its "
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
