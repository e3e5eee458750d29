#pragma once

// The forms in which desktops keep their settings: GVariant strings, file
// URIs, colours, the INI files of pcmanfm and pcmanfm-qt, and the names of
// their placement modes.

#include "platform/DesktopState.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// A GVariant string as gsettings prints it ('…' or "…", backslash escapes)
// and back; other text is returned trimmed.
std::string UnquoteGVariant(std::string_view text);
std::string QuoteGVariant(std::string_view text);

// file:///a%20b → /a b; a plain path stays as it is; any other URI is no
// local file and gives "".
std::string FileUriToPath(std::string_view uri);
// Every byte but letters, digits and "/-_.~" percent-encoded.
std::string PathToFileUri(std::string_view path);

// #rrggbb, #rrrrggggbbbb or rgb(r, g, b) as 0x00BBGGRR; fallback for
// anything else.
std::uint32_t ColorFromText(std::string_view text, std::uint32_t fallback);

// A value of key in [section] of an INI-style file, unquoted and with the
// escapes of pcmanfm-qt (QSettings: "…", \xHHHH beyond Latin-1, as UTF-8)
// and of pcmanfm (GKeyFile: \s \n \t \\) resolved; "" when missing.
std::string IniValue(std::string_view text, std::string_view section, std::string_view key);

// A desktop's own name of a mode and the placement it means.
using ModeName = std::pair<std::string_view, Placement>;
template <std::size_t N> std::optional<Placement> FindMode(const ModeName (&modes)[N], std::string_view name)
{
    for (const ModeName& mode : modes)
        if (mode.first == name)
            return mode.second;
    return std::nullopt;
}

} // namespace platform
