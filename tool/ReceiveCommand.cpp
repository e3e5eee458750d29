// corkpane-tool receive [--host H] [--port N] [--security none|starttls|tls]
// [--ca-file FILE] [--auth user|plain|xoauth2|oauthbearer] [--token-command
// CMD]: one mail reception run with the account, keywords, security and
// sign-in choice and memo of the current directory, as the window's receive
// button does it. Every log line goes to standard output; the memo, with
// whatever the run added, is written back to "memo.txt", also when the run
// fails part way, and then the memory of received mail when it is on.
// Another run on the same folder is waited for; a memo or settings file
// that cannot be read ends the command before any connection.
#include "Arguments.h"
#include "CommandRegistry.h"
#include "FilesFolder.h"
#include "app/FilesLock.h"
#include "app/KeyringPassword.h"
#include "app/MailReception.h"
#include "app/NumberBox.h"
#include "app/ReceivedMemory.h"
#include "app/SettingsKey.h"
#include "app/SettingsStore.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"
#include "platform/FileIo.h"
#include "platform/SecretStore.h"
#include "platform/UserError.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr char kUsage[]
    = "usage: corkpane-tool receive [--protocol pop3|imap] [--folder NAME] [--host H] [--port N] "
      "[--security none|starttls|tls] [--ca-file FILE] [--auth user|plain|xoauth2|oauthbearer] "
      "[--token-command CMD]\n";

std::optional<mail::Pop3Security> SecurityNamed(const std::string& name)
{
    if (name == "none")
        return mail::Pop3Security::None;
    if (name == "starttls")
        return mail::Pop3Security::StartTls;
    if (name == "tls")
        return mail::Pop3Security::Tls;
    return std::nullopt;
}

// A choice named as the settings file stores it (the control's choices).
template <typename Choice>
std::optional<Choice> ChoiceNamed(std::string_view control, const std::string& name)
{
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        if (key.control != control)
            continue;
        for (std::size_t i = 0; i < key.choices.size(); ++i) {
            if (key.choices[i] == name)
                return static_cast<Choice>(i);
        }
    }
    return std::nullopt;
}

int Run(const tool::Args& given, tool::Io& io)
{
    tool::Args args = given;
    std::filesystem::path folder;
    std::string dirError;
    if (!tool::TakeDirOption(args, folder, dirError)) {
        io.err << "corkpane-tool receive: " << dirError << '\n';
        return tool::kExitUsage;
    }
    std::optional<mail::MailProtocol> protocol;
    std::optional<std::string> mailFolder;
    std::optional<std::string> host;
    std::optional<int> port;
    std::optional<mail::Pop3Security> security;
    std::optional<std::string> caFile;
    std::optional<mail::Pop3Auth> auth;
    std::optional<std::string> tokenCommand;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--protocol" && i + 1 < args.size()) {
            protocol = ChoiceNamed<mail::MailProtocol>("CbProtocol", args[++i]);
            if (!protocol) {
                io.err << "corkpane-tool receive: not a protocol (pop3, imap): " << tool::Shown(args[i])
                       << '\n';
                return tool::kExitUsage;
            }
        } else if (args[i] == "--folder" && i + 1 < args.size()) {
            // As typed on the command line (UTF-8), held as the settings hold it.
            mailFolder = tool::Shown(args[++i]);
        } else if (args[i] == "--host" && i + 1 < args.size()) {
            host = args[++i];
        } else if (args[i] == "--port" && i + 1 < args.size()) {
            port = app::PortNumber(args[++i]);
            if (!*port) {
                io.err << "corkpane-tool receive: not a port number: " << tool::Shown(args[i]) << '\n';
                return tool::kExitUsage;
            }
        } else if (args[i] == "--security" && i + 1 < args.size()) {
            security = SecurityNamed(args[++i]);
            if (!security) {
                io.err << "corkpane-tool receive: not a security mode (none, starttls, tls): "
                       << tool::Shown(args[i]) << '\n';
                return tool::kExitUsage;
            }
        } else if (args[i] == "--ca-file" && i + 1 < args.size()) {
            caFile = args[++i];
        } else if (args[i] == "--auth" && i + 1 < args.size()) {
            auth = ChoiceNamed<mail::Pop3Auth>("CbAuth", args[++i]);
            if (!auth) {
                io.err << "corkpane-tool receive: not a sign-in method (user, plain, xoauth2, oauthbearer): "
                       << args[i] << '\n';
                return tool::kExitUsage;
            }
        } else if (args[i] == "--token-command" && i + 1 < args.size()) {
            tokenCommand = args[++i];
        } else {
            io.err << kUsage;
            return tool::kExitUsage;
        }
    }

    const app::MessageCallback message = [&io](const std::string& text) { io.err << text << '\n'; };
    // Held until the memo is saved: a second run reads the memo this one
    // wrote, not the one before it.
    const platform::FolderLock lock = app::LockFilesForRun(folder, message);
    app::Settings settings;
    std::string memo;
    app::LoadSettings(folder, settings, memo, message);
    app::KeyringPassword(platform::SecretStore::kInteractiveTimeLimit).Load(settings);

    mail::ReceiveConfig config = app::ToReceiveConfig(settings);
    if (host)
        config.host = *host;
    // A protocol or security mode chosen here moves the stored port along
    // as the window's choice does.
    if (protocol)
        config.protocol = *protocol;
    if (security)
        config.security = *security;
    config.port = port           ? *port
        : (protocol || security) ? app::PortAfterChoice(config.port, config.protocol, config.security)
                                 : config.port;
    if (mailFolder)
        config.folder = *mailFolder;
    config.caFile = caFile.value_or("");
    if (auth)
        config.auth = *auth;
    if (tokenCommand)
        config.tokenCommand = *tokenCommand;
    app::ReceivedMemory memory;
    mail::TextReceiveWindow window(memo);
    window.onLogLine = [&io](const std::string& line) { io.out << line << '\n' << std::flush; };
    int status = tool::kExitOk;
    // A failed run still saves what it received so far.
    try {
        app::ReceiveMail(folder, std::move(config), window, memory);
    } catch (const platform::UserError& error) {
        io.err << error.what() << '\n';
        status = tool::kExitFailure;
    }

    // The memo first: a mail is remembered only once its text is stored.
    platform::ReplaceFile(folder / app::kMemoFileName, window.memo(), platform::kMemoReadLimit);
    memory.Save();
    return status;
}

const tool::Registration reg { "receive",
    "receive [--protocol pop3|imap] [--folder NAME] [--host H] [--port N] [--security none|starttls|tls] "
    "[--ca-file FILE] [--auth METHOD] [--token-command CMD] [--dir DIR]  (one reception run into memo.txt; "
    "METHOD: user, plain, xoauth2, oauthbearer)",
    &Run };

} // namespace
