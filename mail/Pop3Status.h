#pragma once

namespace mail {

// Connection status events of the POP3 client, in the numbering the
// reception log knows. hsStatusText is never raised by the client itself.
enum Pop3Status : int {
    hsResolving = 0,
    hsConnecting = 1,
    hsConnected = 2,
    hsDisconnecting = 3,
    hsDisconnected = 4,
    hsStatusText = 5,
};

} // namespace mail
