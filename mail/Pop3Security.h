#pragma once

namespace mail {

// How the POP3 connection is protected, in the numbering the settings file
// stores: no encryption, a plain connection upgraded with STLS before the
// login, or TLS from the first byte (POP3S).
enum class Pop3Security : int {
    None = 0,
    StartTls = 1,
    Tls = 2,
};

} // namespace mail
