#pragma once

// The client side of TLS: TLS 1.2 or later, the server's certificate checked
// against the system's trusted certificates (and an optional extra file of CA
// certificates) and against the server name. One context serves the
// connections of one reception run.

#include <string>

struct ssl_ctx_st;

namespace mail {

class TlsContext {
public:
    // caFile: extra trusted certificates (PEM), or empty for the system's
    // alone. Throws MailError when the file cannot be used.
    explicit TlsContext(const std::string& caFile = {});
    ~TlsContext();
    TlsContext(const TlsContext&) = delete;
    TlsContext& operator=(const TlsContext&) = delete;

    ssl_ctx_st* get() const noexcept { return ctx_; }

private:
    ssl_ctx_st* ctx_ = nullptr;
};

// The message of a failed certificate check: the reason in words the user
// understands (expired, name mismatch, untrusted, self-signed, ...), from an
// X509_V_ERR_* result; host is named when it does not match.
std::string CertificateErrorMessage(long verifyResult, const std::string& host);

} // namespace mail
