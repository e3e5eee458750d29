// The session's variables kept for the daily redraw, which the service
// manager starts without them.
#include "platform/SessionRecord.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <map>

namespace {

platform::EnvironmentLookup Lookup(std::map<std::string, std::string> values)
{
    return [values = std::move(values)](const std::string& name) {
        const auto it = values.find(name);
        return it == values.end() ? std::string() : it->second;
    };
}

TEST(SessionRecord, KeptFromTheSessionAndFilledInWhereMissing)
{
    const test_files::TempFolder folder("session");
    const auto file = folder / "corkpane" / "session.txt";

    // Without a display there is nothing worth keeping, and an old record
    // stays.
    platform::KeepSessionRecord(file, Lookup({ { "XDG_CURRENT_DESKTOP", "XFCE" } }));
    EXPECT_FALSE(std::filesystem::exists(file));

    platform::KeepSessionRecord(file,
        Lookup({ { "DISPLAY", ":0" }, { "XDG_CURRENT_DESKTOP", "XFCE" }, { "HOME", "/home/u" },
            { "XAUTHORITY", "/tmp/a\nDISPLAY=:9" } }));
    EXPECT_EQ(folder.Read("corkpane/session.txt"), "DISPLAY=:0\nXDG_CURRENT_DESKTOP=XFCE\n");
    // Private, also where an older version left it readable and nothing changed.
    std::filesystem::permissions(
        file, std::filesystem::perms::others_read, std::filesystem::perm_options::add);
    platform::KeepSessionRecord(file, Lookup({ { "DISPLAY", ":0" }, { "XDG_CURRENT_DESKTOP", "XFCE" } }));
    EXPECT_EQ(std::filesystem::status(file).permissions(),
        std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // The service manager's environment: what it has stays its own.
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(platform::MissingSessionVariables(file, Lookup({ { "XDG_CURRENT_DESKTOP", "sway" } })),
        (Pairs { { "DISPLAY", ":0" } }));
    EXPECT_TRUE(platform::MissingSessionVariables(folder / "none.txt", Lookup({})).empty());

    // Only the session's own names are taken from a file, whatever it says.
    folder.Write("corkpane/session.txt", "LD_PRELOAD=/tmp/x.so\nWAYLAND_DISPLAY=wayland-1\n");
    EXPECT_EQ(
        platform::MissingSessionVariables(file, Lookup({})), (Pairs { { "WAYLAND_DISPLAY", "wayland-1" } }));
}

} // namespace
