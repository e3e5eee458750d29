// What the window and corkpane-tool hand to the reception run and the draw
// from the stored controls.
#include "app/DrawKabegami.h"
#include "app/MailReception.h"
#include "common/SjisLiteral.h"
#include "common/TempFolder.h"
#include "platform/FixedDesktop.h"

#include <gtest/gtest.h>

namespace {

TEST(RunInputs, PortBoxFallsBackToPop3PortUnlessItHoldsAPort)
{
    const struct {
        const char* box;
        int port;
    } cases[] = {
        { "", 110 },
        { "995", 995 },
        { "  25", 25 },
        { "0", 110 },
        { "65535", 65535 },
        { "65536", 110 },
        { "-110", 110 },
        { "abc", 110 },
        { "99999999999", 110 },
    };
    for (const auto& c : cases) {
        app::Settings s;
        s.EdPort.SetText(c.box);
        EXPECT_EQ(app::ToReceiveConfig(s).port, c.port) << '"' << c.box << '"';
    }
}

TEST(RunInputs, AccountKeywordsAndSecurityCarryOver)
{
    app::Settings s;
    s.EdHost = "pop.example.jp";
    s.EdUser = "taro";
    s.Password = "pw ";
    s.EdKeyWord1 = Sjis("メモ");
    s.EdKeyWord2 = "memo";
    s.RgSecurity = 2;
    const mail::ReceiveConfig config = app::ToReceiveConfig(s);
    EXPECT_EQ(config.host, "pop.example.jp");
    EXPECT_EQ(config.user, "taro");
    EXPECT_EQ(config.password, "pw ");
    EXPECT_EQ(config.keyword1, s.EdKeyWord1);
    EXPECT_EQ(config.keyword2, "memo");
    EXPECT_EQ(config.security, mail::Pop3Security::Tls);

    s.RgSecurity = -1; // an unset radio group connects in plain text, as before the choice existed
    EXPECT_EQ(app::ToReceiveConfig(s).security, mail::Pop3Security::None);
}

TEST(RunInputs, NumberBoxesFallBackPerBox)
{
    // A new window draws with its boxes' initial values.
    render::MemoStyle want;
    want.charsPerLine = 15;
    want.linesPerColumn = 20;
    want.fontSize = 15;
    want.paragraphGap = 4;
    want.topMargin = 10;
    want.rightMargin = 300;
    want.textColor = 0x00FF00;
    want.shadowColor = 0xC0C0C0;
    want.backgroundPercent = 50;
    EXPECT_EQ(want, app::MemoStyleFrom(app::Settings()));
    EXPECT_EQ((schedule::LookAhead { 1, 3, 5, 10, true }), app::LookAheadFrom(app::Settings()));

    // Text that is not a number gives each box's own fallback, which is not
    // always its initial value.
    app::Settings blank;
    for (app::NumberBox* box :
        { &blank.EdMojiSu, &blank.EdGyosu, &blank.EdFontSize, &blank.EdGyokan, &blank.EdUeYohaku,
            &blank.EdMigiYohaku, &blank.EdRitu, &blank.EdScW, &blank.EdScM, &blank.EdScY, &blank.EdScD })
        box->SetText(Sjis("１５"));
    const render::MemoStyle s = app::MemoStyleFrom(blank);
    EXPECT_EQ((std::vector<int> { 10, 10, 15, 4, 10, 10, 0 }),
        (std::vector<int> { s.charsPerLine, s.linesPerColumn, s.fontSize, s.paragraphGap, s.topMargin,
            s.rightMargin, s.backgroundPercent }));
    blank.ChShukujitsu = false;
    EXPECT_EQ((schedule::LookAhead { 1, 3, 3, 3, false }), app::LookAheadFrom(blank));

    app::Settings typed;
    typed.EdMojiSu.SetText(" 12");
    typed.EdScD.SetText("-3");
    typed.LbMojiIro = 0x00123456;
    typed.RgKage = 2;
    typed.RgHaikei = 1;
    EXPECT_EQ(12, app::MemoStyleFrom(typed).charsPerLine);
    EXPECT_EQ(-3, app::LookAheadFrom(typed).dated);
    EXPECT_EQ(0x00123456u, app::MemoStyleFrom(typed).textColor);
    EXPECT_EQ(2, app::MemoStyleFrom(typed).shadowMode);
    EXPECT_EQ(1, app::MemoStyleFrom(typed).backgroundMode);
}

} // namespace

TEST(RunInputs, APictureSpanningMonitorsIsInstalledSpanned)
{
    const platform::Monitor left { { 0, 0, 1920, 1080 }, { 0, 0, 1920, 1080 }, 1.0, false };
    const platform::Monitor right { { 1920, 0, 2560, 1440 }, { 1920, 32, 2560, 1408 }, 2.0, true };
    app::DesktopOverrides tile;
    tile.placement = platform::ClassicPlacement("1", "0");
    app::DesktopOverrides screen;
    screen.screen = platform::ScreenSize { 800, 600 };
    const struct {
        const char* name;
        platform::Placement placement;
        std::vector<platform::Monitor> monitors;
        app::DesktopOverrides overrides;
        bool spanned;
    } cases[] = {
        { "spanned over two", platform::Placement::Spanned, { left, right }, {}, true },
        { "spanned on one", platform::Placement::Spanned, { right }, {}, false },
        { "zoom over two", platform::Placement::Zoom, { left, right }, {}, false },
        // A placement given in the desktop's place decides alone; a screen
        // given is one monitor.
        { "tile given", platform::Placement::Spanned, { left, right }, tile, false },
        { "screen given", platform::Placement::Spanned, { left, right }, screen, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test_files::TempFolder folder("draw");
        platform::FixedDesktop desktop;
        desktop.state.placement = c.placement;
        desktop.state.monitors = c.monitors;
        app::DrawRequest request;
        request.settings.ChShowMemo = true; // the picture alone
        request.outputFile = folder / "kabegami.bmp";
        request.overrides = c.overrides;
        desktop.acceptsWallpaper = false;
        const platform::Installation installed = app::DrawKabegami(desktop, request);
        EXPECT_FALSE(installed.taken);
        EXPECT_EQ("fixed", installed.problem);
        ASSERT_EQ(1u, desktop.installed.size());
        EXPECT_EQ(c.spanned, desktop.installed[0].spanned);
    }
}
