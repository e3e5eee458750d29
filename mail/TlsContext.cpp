#include "mail/TlsContext.h"

#include "mail/MailError.h"
#include "mail/Texts.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>

namespace mail {

TlsContext::TlsContext(const std::string& caFile)
{
    ctx_ = SSL_CTX_new(TLS_client_method());
    if (ctx_ == nullptr)
        throw MailError(texts::kTlsFailed);
    SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
    // Servers often close after QUIT without a TLS close notice; every POP3
    // reply has its own end mark, so a bare close is no sign of a cut reply.
    SSL_CTX_set_options(ctx_, SSL_OP_IGNORE_UNEXPECTED_EOF);
    SSL_CTX_set_default_verify_paths(ctx_);
    if (!caFile.empty() && SSL_CTX_load_verify_locations(ctx_, caFile.c_str(), nullptr) != 1) {
        ERR_clear_error();
        SSL_CTX_free(ctx_);
        ctx_ = nullptr;
        throw MailError(texts::kCaFileUnreadable + caFile);
    }
    ERR_clear_error();
}

TlsContext::~TlsContext()
{
    SSL_CTX_free(ctx_);
}

std::string CertificateErrorMessage(long verifyResult, const std::string& host)
{
    std::string reason;
    switch (verifyResult) {
    case X509_V_ERR_CERT_HAS_EXPIRED:
        reason = texts::kCertExpired;
        break;
    case X509_V_ERR_CERT_NOT_YET_VALID:
        reason = texts::kCertNotYetValid;
        break;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
        reason = texts::kCertNameMismatch + std::string(": ") + host;
        break;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
        reason = texts::kCertSelfSigned;
        break;
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
    case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
    case X509_V_ERR_CERT_UNTRUSTED:
    case X509_V_ERR_CERT_REJECTED:
    case X509_V_ERR_INVALID_CA:
        reason = texts::kCertUntrusted;
        break;
    case X509_V_ERR_CERT_REVOKED:
        reason = texts::kCertRevoked;
        break;
    default:
        reason = texts::kCertOther + std::to_string(verifyResult) + ": "
            + X509_verify_cert_error_string(verifyResult);
        break;
    }
    return texts::kCertificatePrefix + reason + texts::kCertificateSuffix;
}

} // namespace mail
