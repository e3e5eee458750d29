#include "app/ReceiveConfigFromSettings.h"

#include "app/IntegerText.h"

namespace app {

mail::ReceiveConfig ToReceiveConfig(const Settings& s)
{
    mail::ReceiveConfig config;
    config.host = s.EdHost;
    config.user = s.EdUser;
    config.password = s.Password;
    config.keyword1 = s.EdKeyWord1;
    config.keyword2 = s.EdKeyWord2;
    config.decodeMime = s.ChMimeKaidoku;
    const int port = ParseInteger(s.EdPort);
    config.port = port >= 1 && port <= 65535 ? port : mail::Pop3Options::kDefaultPort;
    config.security = static_cast<mail::Pop3Security>(s.RgSecurity < 0 ? 0 : s.RgSecurity);
    return config;
}

} // namespace app
