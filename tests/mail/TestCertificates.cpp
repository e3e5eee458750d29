#include "TestCertificates.h"

#include "common/TempFolder.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace mailtest {

namespace {

// Runs openssl with args in folder; "" on success, otherwise the command.
std::string OpenSsl(const fs::path& folder, std::vector<std::string> args)
{
    args.insert(args.begin(), "openssl");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "openssl.log", O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, "openssl", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (rc == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return {};
    std::string command;
    for (const std::string& a : args)
        command += a + " ";
    return "failed: " + command;
}

TestCertificates Make(const test_files::TempFolder& folder)
{
    TestCertificates c;
    const fs::path& dir = folder.Path();
    auto file = [&](const char* name) { return (dir / name).string(); };

    // EC keys: made in a few milliseconds.
    const std::vector<std::string> newKey { "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
        "-nodes" };
    auto request = [&](const std::string& name, const std::string& subject, std::vector<std::string> extra) {
        std::vector<std::string> args { "req" };
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), newKey.begin(), newKey.end());
        args.insert(args.end(), { "-keyout", name + ".key", "-subj", subject });
        return args;
    };
    folder.Write("server.ext",
        "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage="
        "serverAuth\n");
    folder.Write("wrong.ext",
        "subjectAltName=DNS:mail.example.invalid\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n");
    // A minimal CA configuration: "openssl ca" is the way to give a
    // certificate dates in the past.
    fs::create_directories(dir / "issued");
    folder.Write("index.txt", "");
    folder.Write("serial", "1000\n");
    folder.Write("ca.cnf",
        "[ca]\ndefault_ca = test\n[test]\ndir = .\ndatabase = index.txt\n"
        "new_certs_dir = issued\nserial = serial\ncertificate = ca.pem\n"
        "private_key = ca.key\ndefault_md = sha256\npolicy = any\n"
        "unique_subject = no\n[any]\ncommonName = supplied\n[server]\n"
        "subjectAltName=IP:127.0.0.1,DNS:localhost\nbasicConstraints=CA:FALSE\n");

    auto ca = request("ca", "/CN=Corkpane Test CA",
        { "-x509", "-days", "3650", "-out", "ca.pem", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign" });
    auto good = request("good", "/CN=localhost", { "-out", "good.csr" });
    auto signGood = std::vector<std::string> { "x509", "-req", "-in", "good.csr", "-CA", "ca.pem", "-CAkey",
        "ca.key", "-CAcreateserial", "-days", "30", "-extfile", "server.ext", "-out", "good.pem" };
    auto expired = request("expired", "/CN=localhost", { "-out", "expired.csr" });
    auto signExpired = std::vector<std::string> { "ca", "-batch", "-config", "ca.cnf", "-extensions",
        "server", "-startdate", "20200101000000Z", "-enddate", "20200201000000Z", "-notext", "-in",
        "expired.csr", "-out", "expired.pem" };
    auto wrong = request("wrong", "/CN=mail.example.invalid", { "-out", "wrong.csr" });
    auto signWrong = std::vector<std::string> { "x509", "-req", "-in", "wrong.csr", "-CA", "ca.pem", "-CAkey",
        "ca.key", "-CAcreateserial", "-days", "30", "-extfile", "wrong.ext", "-out", "wrong.pem" };
    auto self = request("self", "/CN=localhost",
        { "-x509", "-days", "30", "-out", "self.pem", "-addext",
            "subjectAltName=IP:127.0.0.1,DNS:localhost" });
    for (const auto& args : { ca, good, signGood, expired, signExpired, wrong, signWrong, self }) {
        c.error = OpenSsl(dir, args);
        if (!c.error.empty())
            return c;
    }
    c.caFile = file("ca.pem");
    c.good = { file("good.pem"), file("good.key") };
    c.expired = { file("expired.pem"), file("expired.key") };
    c.wrongName = { file("wrong.pem"), file("wrong.key") };
    c.selfSigned = { file("self.pem"), file("self.key") };
    return c;
}

} // namespace

const TestCertificates& TestCertificates::Get()
{
    static const test_files::TempFolder folder("certs");
    static const TestCertificates certificates = Make(folder);
    return certificates;
}

} // namespace mailtest
