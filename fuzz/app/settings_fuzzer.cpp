// Fuzz entry point for the settings file reader and the password reader.
// The input is read as a settings file and as a stored password. Besides
// memory safety it checks that a file rewritten from what was read reads
// back the same, and that a restored password scrambles back to itself.
#include "app/IniLines.h"
#include "app/PasswordScrambler.h"
#include "app/SettingsKey.h"
#include "fuzz/FuzzRequire.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using fuzz::require;

app::Settings apply(const app::IniLines& lines)
{
    app::Settings settings;
    for (const auto& key : app::SettingsKey::All())
        key.Read(settings, lines.Value(key.key), {});
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const app::IniLines original = app::IniLines::Parse(bytes);
    require(app::IniLines::Parse(original.Serialize()).Lines() == original.Lines());

    const app::Settings read = apply(original);
    app::IniLines rewritten = original;
    for (const auto& key : app::SettingsKey::All())
        rewritten.Set(key.key, key.Written(read, {}));
    app::Settings reread = apply(app::IniLines::Parse(rewritten.Serialize()));

    // The list gains the stored entry on every read; only the first is kept.
    require(reread.LBoxSetuzokuSaki.size() == 2 && reread.LBoxSetuzokuSaki[1] == read.LBoxSetuzokuSaki[0]);
    reread.LBoxSetuzokuSaki = read.LBoxSetuzokuSaki;
    // A password the scheme cannot store (possible from old-style values)
    // is dropped on writing.
    if (app::ScramblePassword(read.Password).empty())
        reread.Password = read.Password;
    require(reread == read);

    const std::string password = app::UnscramblePassword(bytes);
    require(password.size() <= app::kMaxPasswordLength);
    const std::string stored = app::ScramblePassword(password);
    require(stored.size() <= app::kMaxScrambledLength);
    if (!stored.empty())
        require(app::UnscramblePassword(stored) == password);
    return 0;
}
