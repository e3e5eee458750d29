#include "app/DrawSettingsFromSettings.h"

#include "app/SettingsKey.h"

namespace app {

render::DrawSettings ToDrawSettings(const Settings& s)
{
    render::DrawSettings d;
    for (const SettingsKey& key : SettingsKey::All())
        key.FeedDraw(s, d);
    return d;
}

} // namespace app
