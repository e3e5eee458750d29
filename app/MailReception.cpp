#include "app/MailReception.h"

#include "app/NumberBox.h"
#include "mail/ReceiveRun.h"
#include "platform/FileIo.h"

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
    config.port = PortNumber(s.EdPort.Text());
    if (config.port == 0)
        config.port = mail::Pop3Options::kDefaultPort;
    config.security = static_cast<mail::Pop3Security>(s.RgSecurity < 0 ? 0 : s.RgSecurity);
    config.auth = static_cast<mail::Pop3Auth>(s.CbAuth);
    config.tokenCommand = s.EdTokenCommand;
    config.remember = s.ChRemember;
    // The memo is saved whole, so it never grows past what the program
    // reads back; the memory of received mail keeps to half its file's
    // limit, line ends included.
    config.maxMemoBytes = platform::kMemoReadLimit;
    config.maxRememberedBytes = platform::kSettingsReadLimit / 2;
    return config;
}

int PortForSecurity(int port, mail::Pop3Security security)
{
    const bool tls = security == mail::Pop3Security::Tls;
    if (tls && port == mail::Pop3Options::kDefaultPort)
        return mail::Pop3Options::kDefaultTlsPort;
    if (!tls && port == mail::Pop3Options::kDefaultTlsPort)
        return mail::Pop3Options::kDefaultPort;
    return port;
}

void ReceiveMail(const std::filesystem::path& folder, mail::ReceiveConfig config, mail::ReceiveWindow& window,
    ReceivedMemory& memory)
{
    memory.Prepare(folder, config);
    mail::ReceiveRun run(config, window);
    // What a failed run received before failing is remembered too.
    try {
        run.Run();
    } catch (...) {
        memory.Keep(folder, config, run.RememberedIds());
        throw;
    }
    memory.Keep(folder, config, run.RememberedIds());
}

} // namespace app
