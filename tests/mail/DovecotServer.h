#pragma once

// A private Dovecot POP3 (and, on request, IMAP) server for the tests: its own configuration,
// passwd-file and maildirs in a temporary folder, listening on a free
// loopback port, independent of any system Dovecot service. Works as root
// (login and internal processes then run as dovenull and dovecot, the mail
// as nobody) and as an ordinary user.

#include "common/TempFolder.h"

#include <string>
#include <sys/types.h>
#include <vector>

namespace mailtest {

class DovecotServer {
public:
    DovecotServer();
    ~DovecotServer(); // stops the server and removes its folder
    DovecotServer(const DovecotServer&) = delete;
    DovecotServer& operator=(const DovecotServer&) = delete;

    // A mailbox with these messages, in this order (message 1 first). Call
    // before Start.
    void AddUser(
        const std::string& name, const std::string& password, const std::vector<std::string>& messages);
    // Delivers one more message to a user's mailbox while the server runs,
    // as a mail server would (written aside, then moved into "new"); the
    // next login sees it after the ones before.
    void Deliver(const std::string& name, const std::string& message);
    // Serves TLS with this certificate chain and key (PEM files): STLS on
    // port() and POP3S on tlsPort(). With required set, the login is refused
    // until the connection is secured. Call before Start.
    void EnableTls(const std::string& certFile, const std::string& keyFile, bool required);
    // Also signs in with OAuth 2.0 tokens (SASL XOAUTH2 and OAUTHBEARER),
    // which Dovecot checks at the introspection endpoint at url (RFC 7662
    // style, the token POSTed). Call before Start.
    void EnableOAuth2(const std::string& introspectionUrl);
    // Also serves IMAP on imapPort() (and, with TLS, IMAPS on
    // imapTlsPort()). Call before Start.
    void EnableImap() { imap_ = true; }
    // A folder of a user's mailbox with these messages, its name as the
    // maildir keeps it on disk (modified UTF-7). Call before Start.
    void AddFolder(
        const std::string& user, const std::string& diskName, const std::vector<std::string>& messages);
    // Forgets the UIDs of a user's INBOX, as a server that rebuilt it
    // would: the next session sees a new UIDVALIDITY.
    void RenumberInbox(const std::string& user);
    // The flags of every message file of a user's INBOX, as the maildir
    // keeps them in the file names (S: seen, T: deleted …), concatenated.
    std::string InboxFlags(const std::string& user) const;
    // Kills the processes serving IMAP sessions: their connections drop
    // without a word, as when a network goes away.
    void DropImapSessions();
    // Starts the server and waits until it accepts connections. Returns ""
    // on success, otherwise what went wrong (a missing dovecot included).
    std::string Start();
    void Stop();

    int port() const { return port_; }
    int tlsPort() const { return tlsPort_; }
    int imapPort() const { return imapPort_; }
    int imapTlsPort() const { return imapTlsPort_; }

private:
    std::string WriteConfig() const;
    std::string ReadLog() const;

    test_files::TempFolder folder_ { "dovecot" };
    std::string root_ = folder_.Path().string();
    std::vector<std::string> users_;
    int port_ = 0;
    int tlsPort_ = 0;
    bool imap_ = false;
    int imapPort_ = 0;
    int imapTlsPort_ = 0;
    std::string certFile_;
    std::string keyFile_;
    bool tlsRequired_ = false;
    std::string introspectionUrl_;
    pid_t pid_ = -1;
    int delivered_ = 0;
};

} // namespace mailtest
