// What the window and corkpane-tool hand to the reception run and the draw
// from the stored controls.
#include "app/DrawSettingsFromSettings.h"
#include "app/ReceiveConfigFromSettings.h"
#include "common/SjisLiteral.h"

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
        s.EdPort = c.box;
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

TEST(RunInputs, NewWindowDrawsWithTheDrawDefaults)
{
    // The stored settings' initial values and the draw's own defaults are
    // written in two places; a new window must draw as the draw expects.
    EXPECT_TRUE(app::ToDrawSettings(app::Settings()) == render::DrawSettings());
}

TEST(RunInputs, DrawSettingsTakeEveryDrawingControl)
{
    app::Settings s;
    s.EdMojiSu = "12";
    s.EdFontSize = "9";
    s.LbMojiIro = 0x00123456;
    s.LbKageIro = 0x00654321;
    s.RgKage = 2;
    s.RgHaikei = 1;
    s.EdTitle = "T";
    s.ChShowMemo = true;
    s.EdScD = "30";
    s.ChScMemo = true;
    const render::DrawSettings d = app::ToDrawSettings(s);
    EXPECT_EQ(d.EdMojiSu, "12");
    EXPECT_EQ(d.EdFontSize, "9");
    EXPECT_EQ(d.LbMojiIro, 0x00123456u);
    EXPECT_EQ(d.LbKageIro, 0x00654321u);
    EXPECT_EQ(d.RgKage, 2);
    EXPECT_EQ(d.RgHaikei, 1);
    EXPECT_EQ(d.EdTitle, "T");
    EXPECT_TRUE(d.ChShowMemo);
    EXPECT_EQ(d.EdScD, "30");
    EXPECT_TRUE(d.ChScMemo);
}

} // namespace
