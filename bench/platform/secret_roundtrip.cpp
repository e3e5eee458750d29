// secret_roundtrip store PASSWORD | lookup | nothing: one call of the keyring
// store, as a fresh process makes it at its start (the logon run reading
// the mail password); "nothing" is the same process without the call, the
// baseline. Exit status 0 when the call gave kDone.
#include "platform/SecretStore.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string what = argc > 1 ? argv[1] : "";
    const platform::SecretAccount account { "pop.example.jp", 995, "taro" };
    const platform::SecretStore store(platform::SecretStore::kUnattendedTimeLimit);
    platform::SecretResult result;
    if (what == "store" && argc > 2)
        result = store.Store(account, argv[2]);
    else if (what == "lookup")
        result = store.Lookup(account);
    else if (what == "nothing")
        return 0;
    else {
        std::fputs("usage: secret_roundtrip store PASSWORD | lookup | nothing\n", stderr);
        return 2;
    }
    if (result.status != platform::SecretStatus::kDone) {
        std::fprintf(stderr, "status %d %s\n", static_cast<int>(result.status), result.reason.c_str());
        return 1;
    }
    return 0;
}
