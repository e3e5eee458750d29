#pragma once

// The user's locale as the C library reads it from the environment.

#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The locale the C library takes a category from: LC_ALL, else the
// category's own variable (LC_CTYPE, LC_MESSAGES, …), else LANG; the first
// that is set and not empty, "" when none is. lookup is getenv or a test's
// stand-in.
std::string LocaleOf(std::string_view category,
    const std::function<const char*(const char*)>& lookup = [](const char* name) { return std::getenv(name); });

// "language_TERRITORY.codeset@modifier" in parts: the language, and the
// codeset without case, hyphens or underscores ("utf8", "eucjp"), as the C
// library compares them; "" for a part the name lacks.
struct LocaleParts {
    std::string language;
    std::string codeset;
};
LocaleParts PartsOf(std::string_view locale);

} // namespace platform
