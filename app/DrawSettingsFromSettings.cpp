#include "app/DrawSettingsFromSettings.h"

namespace app {

render::DrawSettings ToDrawSettings(const Settings& s)
{
    render::DrawSettings d;
    d.EdMojiSu = s.EdMojiSu;
    d.EdGyosu = s.EdGyosu;
    d.EdFontSize = s.EdFontSize;
    d.EdGyokan = s.EdGyokan;
    d.EdUeYohaku = s.EdUeYohaku;
    d.EdMigiYohaku = s.EdMigiYohaku;
    d.LbMojiIro = static_cast<render::ColorRef>(s.LbMojiIro);
    d.RgKage = s.RgKage;
    d.LbKageIro = static_cast<render::ColorRef>(s.LbKageIro);
    d.RgTitle = s.RgTitle;
    d.EdTitle = s.EdTitle;
    d.EdRitu = s.EdRitu;
    d.RgHaikei = s.RgHaikei;
    d.ChShowMemo = s.ChShowMemo;
    d.EdScW = s.EdScW;
    d.EdScM = s.EdScM;
    d.EdScY = s.EdScY;
    d.EdScD = s.EdScD;
    d.ChScMemo = s.ChScMemo;
    return d;
}

} // namespace app
