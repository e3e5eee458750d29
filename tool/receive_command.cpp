// corkpane-tool receive [--host H] [--port N]: one mail reception run with
// the account, keywords and memo of the current directory, as the window's
// receive button does it. Every log line goes to standard output; the memo,
// with whatever the run added, is written back to "memo.txt", also when the
// run fails part way.
#include "CommandRegistry.h"
#include "app/FileAccess.h"
#include "app/FileError.h"
#include "app/IntegerText.h"
#include "app/SettingsStore.h"
#include "mail/MailError.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr char kUsage[] = "usage: corkpane-tool receive [--host H] [--port N]\n";

std::optional<int> PortNumber(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 5)
        return std::nullopt;
    const int port = std::stoi(text);
    if (port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

int run(const tool::Args& args, tool::Io& io)
{
    std::optional<std::string> host;
    std::optional<int> port;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--host" && i + 1 < args.size()) {
            host = args[++i];
        } else if (args[i] == "--port" && i + 1 < args.size()) {
            port = PortNumber(args[++i]);
            if (!port) {
                io.err << "corkpane-tool receive: not a port number: " << args[i] << '\n';
                return tool::kExitUsage;
            }
        } else {
            io.err << kUsage;
            return tool::kExitUsage;
        }
    }

    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    app::Settings settings;
    std::string memo;
    try {
        app::LoadSettings(".", settings, memo, message);
    } catch (const app::FileError& error) {
        io.err << error.what() << '\n';
        return tool::kExitFailure;
    }

    mail::ReceiveConfig config;
    config.host = host.value_or(settings.EdHost);
    // A stored port that is not a usable number falls back to the POP3 port.
    const int storedPort = app::ParseInteger(settings.EdPort);
    config.port
        = port.value_or(storedPort >= 1 && storedPort <= 65535 ? storedPort : mail::Pop3Client::kDefaultPort);
    config.user = settings.EdUser;
    config.password = settings.Password;
    config.keyword1 = settings.EdKeyWord1;
    config.keyword2 = settings.EdKeyWord2;

    mail::TextReceiveWindow window(memo);
    window.onLogLine = [&io](const std::string& line) { io.out << line << '\n' << std::flush; };
    int status = tool::kExitOk;
    try {
        mail::ReceiveRun(config, window).Run();
    } catch (const mail::MailError& error) {
        io.err << error.what() << '\n';
        status = tool::kExitFailure;
    }

    try {
        app::WriteFileAtomically(std::filesystem::path(app::kMemoFileName), window.memo());
    } catch (const app::FileError& error) {
        io.err << error.what() << '\n';
        status = tool::kExitFailure;
    }
    return status;
}

const tool::Registration reg { "receive",
    "receive [--host H] [--port N]  (one POP3 reception run into memo.txt here)", &run };

} // namespace
