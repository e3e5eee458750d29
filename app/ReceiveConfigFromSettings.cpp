#include "app/ReceiveConfigFromSettings.h"

#include "app/IntegerText.h"
#include "app/SettingsKey.h"

namespace app {

mail::ReceiveConfig ToReceiveConfig(const Settings& s)
{
    mail::ReceiveConfig config;
    for (const SettingsKey& key : SettingsKey::All())
        key.FeedReception(s, config);
    const int port = ParseInteger(s.EdPort);
    config.port = port >= 1 && port <= 65535 ? port : mail::Pop3Client::kDefaultPort;
    config.security = static_cast<mail::Pop3Security>(s.RgSecurity < 0 ? 0 : s.RgSecurity);
    return config;
}

} // namespace app
