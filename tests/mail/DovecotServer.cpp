#include "DovecotServer.h"

#include "FakePop3Server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

namespace mailtest {

namespace {

std::string FindDovecot()
{
    for (const char* candidate : { "/usr/sbin/dovecot", "/usr/local/sbin/dovecot" }) {
        if (::access(candidate, X_OK) == 0)
            return candidate;
    }
    return {};
}

// Ready means a login process answers with its greeting, not merely that
// the master holds the port (it may still fail to start its services).
bool Greets(int port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    timeval limit { 2, 0 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    char greeting[3] = {};
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::recv(fd, greeting, sizeof greeting, MSG_WAITALL) == 3 && std::string(greeting, 3) == "+OK";
    ::close(fd);
    return ok;
}

// The account that owns the mail and runs the helper processes.
struct Accounts {
    std::string loginUser, internalUser, mailUser;
    uid_t mailUid;
    gid_t mailGid;
};

Accounts PickAccounts()
{
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        return { "dovenull", "dovecot", "nobody", nobody ? nobody->pw_uid : 65534,
            nobody ? nobody->pw_gid : 65534 };
    }
    const passwd* me = ::getpwuid(::geteuid());
    std::string name = me ? me->pw_name : "";
    return { name, name, name, ::geteuid(), ::getegid() };
}

} // namespace

DovecotServer::DovecotServer()
{
    // The helper processes run under other accounts and must reach the
    // sockets and the mail below this folder.
    fs::permissions(root_,
        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
            | fs::perms::others_exec);
    fs::create_directories(fs::path(root_) / "mail");
    folder_.Write("passwd", "");
}

DovecotServer::~DovecotServer()
{
    Stop();
}

void DovecotServer::AddUser(
    const std::string& name, const std::string& password, const std::vector<std::string>& messages)
{
    users_.push_back(name);
    std::ofstream(fs::path(root_) / "passwd", std::ios::binary | std::ios::app)
        << name << ":{PLAIN}" << password << "::::::\n";
    const fs::path maildir = fs::path(root_) / "mail" / name;
    for (const char* sub : { "cur", "new", "tmp" })
        fs::create_directories(maildir / sub);
    // Dovecot numbers new mail in the order of the leading number of the
    // file names, so message i gets number i.
    for (std::size_t i = 0; i < messages.size(); ++i)
        folder_.Write(maildir / "cur" / (std::to_string(i + 1) + ".fixture:2,"), messages[i]);
}

void DovecotServer::Deliver(const std::string& name, const std::string& message)
{
    const fs::path maildir = fs::path(root_) / "mail" / name;
    const std::string file = std::to_string(1000000 + ++delivered_) + ".delivered";
    const fs::path written = folder_.Write(maildir / "tmp" / file, message);
    if (::geteuid() == 0) {
        const Accounts accounts = PickAccounts();
        (void)::chown(written.c_str(), accounts.mailUid, accounts.mailGid);
    }
    fs::rename(written, maildir / "new" / file);
}

void DovecotServer::AddFolder(
    const std::string& user, const std::string& diskName, const std::vector<std::string>& messages)
{
    const fs::path maildir = fs::path(root_) / "mail" / user / ("." + diskName);
    for (const char* sub : { "cur", "new", "tmp" })
        fs::create_directories(maildir / sub);
    for (std::size_t i = 0; i < messages.size(); ++i)
        folder_.Write(maildir / "cur" / (std::to_string(i + 1) + ".fixture:2,"), messages[i]);
}

void DovecotServer::RenumberInbox(const std::string& user)
{
    const fs::path maildir = fs::path(root_) / "mail" / user;
    for (const auto& entry : fs::directory_iterator(maildir)) {
        const std::string name = entry.path().filename().string();
        if (name == "dovecot-uidlist" || name.rfind("dovecot.index", 0) == 0)
            fs::remove(entry.path());
    }
}

std::string DovecotServer::InboxFlags(const std::string& user) const
{
    std::string flags;
    for (const char* sub : { "cur", "new" }) {
        for (const auto& entry : fs::directory_iterator(fs::path(root_) / "mail" / user / sub)) {
            const std::string name = entry.path().filename().string();
            const std::size_t info = name.find(":2,");
            if (info != std::string::npos)
                flags += name.substr(info + 3);
        }
    }
    return flags;
}

void DovecotServer::DropImapSessions()
{
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state;
        long parent = 0;
        if (stat >> pid >> name >> state >> parent && parent == pid_ && name == "(imap)")
            ::kill(std::stoi(pid), SIGKILL);
    }
}

void DovecotServer::EnableOAuth2(const std::string& introspectionUrl)
{
    introspectionUrl_ = introspectionUrl;
}

void DovecotServer::EnableTls(const std::string& certFile, const std::string& keyFile, bool required)
{
    certFile_ = certFile;
    keyFile_ = keyFile;
    tlsRequired_ = required;
}

std::string DovecotServer::WriteConfig() const
{
    const Accounts accounts = PickAccounts();
    std::ostringstream conf;
    conf
        << "base_dir = " << root_ << "/run\n"
        << "state_dir = " << root_ << "/state\n"
        << "log_path = " << root_ << "/dovecot.log\n"
        << "protocols = pop3" << (imap_ ? " imap" : "") << "\n"
        << "listen = 127.0.0.1\n"
        << "ssl = "
        << (certFile_.empty()     ? "no"
                   : tlsRequired_ ? "required"
                                  : "yes")
        << "\n"
        << "disable_plaintext_auth = no\n"
        << "auth_mechanisms = plain" << (introspectionUrl_.empty() ? "" : " xoauth2 oauthbearer") << "\n"
        << "auth_failure_delay = 0\n"
        << "default_login_user = " << accounts.loginUser << "\n"
        << "default_internal_user = " << accounts.internalUser << "\n"
        << "mail_location = maildir:" << root_ << "/mail/%u\n"
        << "passdb {\n  driver = passwd-file\n  mechanisms = plain\n  args = scheme=PLAIN username_format=%u "
        << root_ << "/passwd\n}\n"
        << "userdb {\n  driver = static\n  args = uid=" << accounts.mailUid << " gid=" << accounts.mailGid
        << " home=" << root_ << "/mail/%u\n}\n"
        << "service pop3-login {\n  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " << port_
        << "\n  }\n";
    if (!certFile_.empty())
        conf << "  inet_listener pop3s {\n    address = 127.0.0.1\n    port = " << tlsPort_
             << "\n    ssl = yes\n  }\n";
    conf << (::geteuid() == 0 ? "" : "  chroot =\n") << "}\n"
         << "service anvil {\n  chroot =\n}\n";
    if (imap_) {
        conf << "service imap-login {\n  inet_listener imap {\n    address = 127.0.0.1\n    port = "
             << imapPort_ << "\n  }\n";
        if (!certFile_.empty())
            conf << "  inet_listener imaps {\n    address = 127.0.0.1\n    port = " << imapTlsPort_
                 << "\n    ssl = yes\n  }\n";
        conf << (::geteuid() == 0 ? "" : "  chroot =\n") << "}\n";
    }
    if (!certFile_.empty())
        conf << "ssl_cert = <" << certFile_ << "\nssl_key = <" << keyFile_ << "\n";
    if (!introspectionUrl_.empty()) {
        conf << "passdb {\n  driver = oauth2\n  mechanisms = xoauth2 oauthbearer\n  args = " << root_
             << "/oauth2.conf\n}\n";
        folder_.Write("oauth2.conf",
            "introspection_mode = post\nintrospection_url = " + introspectionUrl_
                + "\nforce_introspection = yes\nusername_attribute = username\nactive_attribute = "
                  "active\nactive_value = true\n");
    }
    if (::geteuid() != 0) {
        // An ordinary user can give its sockets to no other group.
        for (const char* service : { "stats", "dict", "dict-async" }) {
            const std::string name = std::string(service) == "stats" ? "stats-writer" : service;
            conf << "service " << service << " {\n  unix_listener " << name << " {\n    group =\n  }\n}\n";
        }
    }
    const fs::path path = fs::path(root_) / "dovecot.conf";
    folder_.Write(path, conf.str());
    if (::geteuid() == 0) {
        // The mail belongs to the account the static userdb names.
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(root_) / "mail"))
            (void)::chown(entry.path().c_str(), accounts.mailUid, accounts.mailGid);
        (void)::chown((fs::path(root_) / "mail").c_str(), accounts.mailUid, accounts.mailGid);
    }
    return path.string();
}

std::string DovecotServer::ReadLog() const
{
    std::string text;
    for (const char* name : { "stdout.log", "dovecot.log" })
        text += folder_.Read(name);
    return text;
}

std::string DovecotServer::Start()
{
    const std::string dovecot = FindDovecot();
    if (dovecot.empty())
        return "dovecot not found: install dovecot-pop3d";
    if (imap_ && ::access("/usr/lib/dovecot/imap", X_OK) != 0)
        return "dovecot's IMAP server not found: install dovecot-imapd";

    // A free port can be taken by someone else before Dovecot binds it; try
    // a few.
    for (int attempt = 0; attempt < 3; ++attempt) {
        port_ = UnusedLoopbackPort();
        tlsPort_ = 0;
        while (!certFile_.empty() && (tlsPort_ == 0 || tlsPort_ == port_))
            tlsPort_ = UnusedLoopbackPort();
        // The IMAP ports, apart from the POP3 ones.
        for (int* imapPort : { &imapPort_, &imapTlsPort_ }) {
            *imapPort = 0;
            while (imap_
                && (*imapPort == 0 || *imapPort == port_ || *imapPort == tlsPort_
                    || imapPort_ == imapTlsPort_))
                *imapPort = UnusedLoopbackPort();
        }
        const std::string config = WriteConfig();
        const std::string output = (fs::path(root_) / "stdout.log").string();

        // In the foreground (-F) the master stays our child and we can stop it;
        // its standard output goes to a file so that nothing waits on it.
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> args { dovecot, "-F", "-c", config };
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int rc = posix_spawn(&pid_, dovecot.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            pid_ = -1;
            return "cannot start dovecot: " + std::string(std::strerror(rc));
        }

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (Greets(port_))
                return {};
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Stop();
    }
    return "dovecot did not start:\n" + ReadLog();
}

void DovecotServer::Stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) { }
    pid_ = -1;
}

} // namespace mailtest
