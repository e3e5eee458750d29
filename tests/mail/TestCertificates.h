#pragma once

// Certificates for the TLS tests, made once per test program with the
// openssl command in a temporary folder that goes away at exit: a test CA,
// and server certificates with their keys (PEM files).

#include <string>

namespace mailtest {

struct TestCertificates {
    struct Pair {
        std::string cert;
        std::string key;
    };

    std::string error; // empty when every file was made
    std::string caFile; // the test CA, to hand over as the extra CA file
    Pair good; // for 127.0.0.1 and localhost, signed by the test CA
    Pair expired; // the same names and CA, valid only in January 2020
    Pair wrongName; // for mail.example.invalid, signed by the test CA
    Pair selfSigned; // for 127.0.0.1 and localhost, signed by itself

    static const TestCertificates& Get();
};

} // namespace mailtest
