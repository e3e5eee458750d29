#include "app/MailReception.h"

#include "app/NumberBox.h"
#include "mail/ImapReceive.h"
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
    config.protocol = static_cast<mail::MailProtocol>(s.CbProtocol);
    // An empty folder box is the inbox, by its one name.
    config.folder = s.EdFolder.empty() ? std::string("INBOX") : s.EdFolder;
    config.security = static_cast<mail::Pop3Security>(s.RgSecurity < 0 ? 0 : s.RgSecurity);
    config.port = PortNumber(s.EdPort.Text());
    if (config.port == 0)
        config.port = config.protocol == mail::MailProtocol::Pop3
            ? mail::Pop3Options::kDefaultPort
            : UsualPort(config.protocol, config.security);
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

int UsualPort(mail::MailProtocol protocol, mail::Pop3Security security)
{
    const bool tls = security == mail::Pop3Security::Tls;
    if (protocol == mail::MailProtocol::Imap)
        return tls ? mail::ImapClient::kDefaultTlsPort : mail::ImapClient::kDefaultPort;
    return tls ? mail::Pop3Options::kDefaultTlsPort : mail::Pop3Options::kDefaultPort;
}

int PortAfterChoice(int port, mail::MailProtocol protocol, mail::Pop3Security security)
{
    for (const auto usual : { mail::Pop3Options::kDefaultPort, mail::Pop3Options::kDefaultTlsPort,
             mail::ImapClient::kDefaultPort, mail::ImapClient::kDefaultTlsPort })
        if (port == usual)
            return UsualPort(protocol, security);
    return port;
}

void ReceiveMail(const std::filesystem::path& folder, mail::ReceiveConfig config, mail::ReceiveWindow& window,
    ReceivedMemory& memory)
{
    if (config.protocol == mail::MailProtocol::Imap) {
        mail::ImapReceive pass(config, config.folder, memory.PrepareImap(folder, config), window);
        try {
            pass.Run();
        } catch (...) {
            memory.KeepImap(folder, config, pass.Memory());
            throw;
        }
        memory.KeepImap(folder, config, pass.Memory());
        return;
    }
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
