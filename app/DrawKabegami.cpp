#include "app/DrawKabegami.h"

#include "app/Clock.h"
#include "calendar/UpcomingEvents.h"
#include "jconvert/TextLines.h"
#include "platform/FileIo.h"
#include "render/Background.h"
#include "render/BmpWriter.h"
#include "render/DesktopLayout.h"
#include "schedule/TScheduleTable.h"

#include <system_error>

namespace app {
namespace {

platform::DesktopState ReadDesktop(platform::Desktop& desktop, const DrawRequest& request)
{
    const DesktopOverrides& o = request.overrides;
    platform::DesktopState state;
    if (request.install || !o.Complete())
        state = desktop.Read();
    state.picture = o.picture.value_or(state.picture);
    state.placement = o.placement.value_or(state.placement);
    if (o.screen) {
        // A screen given in its place is one monitor of that size.
        state.screen = *o.screen;
        state.monitors.clear();
    }
    state.pixelsPerInch = o.pixelsPerInch.value_or(state.pixelsPerInch);
    state.colour = o.colour.value_or(state.colour);
    return state;
}

std::string ShownName(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return platform::PathText(error ? path : absolute.lexically_normal());
}

render::PictureFile ReadOne(const std::string& path)
{
    return { path, ShownName(path), platform::ReadWholeFile(path, platform::kPictureReadLimit) };
}

} // namespace

render::MemoStyle MemoStyleFrom(const Settings& s)
{
    return { .charsPerLine = s.EdMojiSu.Value(),
        .linesPerColumn = s.EdGyosu.Value(),
        .fontSize = s.EdFontSize.Value(),
        .paragraphGap = s.EdGyokan.Value(),
        .topMargin = s.EdUeYohaku.Value(),
        .rightMargin = s.EdMigiYohaku.Value(),
        .textColor = static_cast<render::ColorRef>(s.LbMojiIro),
        .shadowMode = s.RgKage,
        .shadowColor = static_cast<render::ColorRef>(s.LbKageIro),
        .backgroundPercent = s.EdRitu.Value(),
        .backgroundMode = s.RgHaikei };
}

schedule::LookAhead LookAheadFrom(const Settings& s)
{
    return { .weekly = s.EdScW.Value(),
        .monthly = s.EdScM.Value(),
        .yearly = s.EdScY.Value(),
        .dated = s.EdScD.Value(),
        .holidays = s.ChShukujitsu };
}

std::optional<render::PictureFile> ReadPictureFile(
    const std::string& path, std::chrono::local_seconds now, int width, int height)
{
    std::error_code error;
    if (path.empty() || !std::filesystem::exists(path, error))
        return std::nullopt;
    render::PictureFile file = ReadOne(path);
    if (!render::IsPictureList(file))
        return file;
    // The list names a picture of its own; one that names a list again is
    // refused by the decoder.
    return ReadOne(render::PictureListChoice(file, now, width, height));
}

render::KabegamiScene TextSceneFor(const DrawRequest& request)
{
    const Settings& settings = request.settings;
    render::KabegamiScene scene;
    scene.showText = !settings.ChShowMemo;
    if (!scene.showText)
        return scene;
    const std::chrono::year_month_day& today = request.today;
    scene.style = MemoStyleFrom(settings);
    scene.title = render::BuildTitle(settings.EdTitle, settings.RgTitle == 1, today, request.shortDate);
    if (settings.ChScMemo) {
        if (request.schedule)
            scene.scheduleLines = request.schedule->ListUpcoming(LookAheadFrom(settings), today);
        if (!request.events.empty())
            scene.scheduleLines = calendar::MergeUpcoming(scene.scheduleLines, request.events, today);
    }
    scene.memoLines = jconvert::SplitLines<std::string>(request.memo);
    return scene;
}

platform::Installation DrawKabegami(platform::Desktop& desktop, const DrawRequest& request)
{
    render::KabegamiScene scene = TextSceneFor(request);
    scene.desktop = ReadDesktop(desktop, request);
    const platform::DesktopState& state = scene.desktop;
    const render::DesktopLayout layout = render::LayoutFor(state);
    if (state.placement != platform::Placement::None)
        if (const auto file
            = ReadPictureFile(state.picture, request.now.value_or(LocalNow()), layout.width, layout.height))
            scene.picture = render::DecodePicture(
                *file, render::TargetFor(state.placement, layout.width, layout.height), state.colour);
    const bool spanned = platform::SpansMonitors(state);
    const render::Canvas canvas = render::ComposeKabegami(std::move(scene));

    const render::BmpFile bmp = render::BmpOf(canvas);
    platform::ReplaceFile(request.outputFile, bmp.header, bmp.pieces, platform::kPictureReadLimit);
    if (!request.install)
        return { true };
    return desktop.Install(
        { request.outputFile, canvas.Data(), canvas.Width(), canvas.Height(), canvas.Stride(), spanned });
}

} // namespace app
