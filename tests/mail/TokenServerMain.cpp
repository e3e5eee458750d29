// mail_token_server USER TOKEN [MAIL_FILE...]: the server of the user's
// guide's token sign-in example (tests/docs): a private Dovecot on loopback
// signing USER in with TOKEN (checked at a local introspection endpoint),
// holding the mails of the files. Prints its port, serves until standard
// input closes.
#include "DovecotServer.h"
#include "IntrospectionEndpoint.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    std::vector<std::string> mails;
    for (int i = 3; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        mails.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    mailtest::IntrospectionEndpoint endpoint(std::map<std::string, std::string> { { argv[2], argv[1] } });
    mailtest::DovecotServer server;
    server.AddUser(argv[1], "not-for-tokens", mails);
    server.EnableOAuth2(endpoint.Url());
    if (!server.Start().empty())
        return 1;
    std::cout << server.port() << std::endl;
    for (std::string line; std::getline(std::cin, line);) { }
}
