#pragma once

// Runs one reception into a text window and keeps what the user would see
// afterwards: the log, the memo, the error message and the button's state.

#include "mail/MailError.h"
#include "mail/ReceiveConfig.h"
#include "mail/ReceiveRun.h"
#include "mail/TextReceiveWindow.h"

#include <string>
#include <vector>

namespace mailtest {

struct Reception {
    std::vector<std::string> log;
    std::string memo;
    std::string error; // empty when the run ended without one
    bool enabledAfter = false;
    // Whether the receive button was off as some log line was added.
    bool disabledWhileLogging = false;
};

// A reception from a server on loopback at port, logging in as user.
inline mail::ReceiveConfig LoopbackConfig(int port, const std::string& user, const std::string& password)
{
    mail::ReceiveConfig config;
    config.host = "127.0.0.1";
    config.port = port;
    config.user = user;
    config.password = password;
    return config;
}

inline Reception RunReception(const mail::ReceiveConfig& config, const std::string& memo)
{
    mail::TextReceiveWindow window(memo);
    Reception r;
    window.onLogLine = [&](const std::string&) {
        r.disabledWhileLogging = r.disabledWhileLogging || !window.receiveEnabled();
    };
    try {
        mail::ReceiveRun(config, window).Run();
    } catch (const mail::MailError& e) {
        r.error = e.what();
    }
    r.log = window.log();
    r.memo = window.memo();
    r.enabledAfter = window.receiveEnabled();
    return r;
}

} // namespace mailtest
