#include "app/KeyringPassword.h"

#include "app/MailReception.h"
#include "platform/SecretStore.h"

namespace app {
namespace {

platform::SecretAccount AccountOf(const Settings& settings)
{
    return { settings.EdHost, ToReceiveConfig(settings).port, settings.EdUser };
}

// Account and password as one value; the zero bytes keep the fields apart.
std::string Held(const Settings& settings)
{
    const platform::SecretAccount account = AccountOf(settings);
    return account.server + '\0' + std::to_string(account.port) + '\0' + account.user + '\0'
        + settings.Password;
}

} // namespace

bool KeyringPassword::Answers() const
{
    return platform::SecretStore(timeLimit_).Probe().status == platform::SecretStatus::kDone;
}

bool KeyringPassword::Load(Settings& settings)
{
    if (!settings.Password.empty() && settings.Password != kPasswordPlaceholder)
        return false;
    platform::SecretResult found = platform::SecretStore(timeLimit_).Lookup(AccountOf(settings));
    if (found.status != platform::SecretStatus::kDone)
        return false;
    settings.Password = std::move(found.password);
    held_ = Held(settings);
    return true;
}

bool KeyringPassword::Store(const Settings& settings)
{
    if (settings.Password == kPasswordPlaceholder)
        return false;
    if (held_ == Held(settings))
        return true;
    if (platform::SecretStore(timeLimit_).Store(AccountOf(settings), settings.Password).status
        != platform::SecretStatus::kDone)
        return false;
    held_ = Held(settings);
    return true;
}

} // namespace app
