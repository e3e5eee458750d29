#include "platform/Locale.h"

#include "jconvert/AsciiText.h"

namespace platform {

std::string LocaleOf(std::string_view category, const std::function<const char*(const char*)>& lookup)
{
    for (const std::string& name : { std::string("LC_ALL"), std::string(category), std::string("LANG") }) {
        const char* value = lookup(name.c_str());
        if (value != nullptr && *value != '\0')
            return value;
    }
    return {};
}

LocaleParts PartsOf(std::string_view locale)
{
    LocaleParts parts;
    const std::size_t end = locale.find_first_of("_.@");
    parts.language = jconvert::AsciiLowerCopy(locale.substr(0, end));
    const std::size_t dot = locale.find('.');
    if (dot != std::string_view::npos)
        for (const char c : locale.substr(dot + 1, locale.find('@', dot) - dot - 1))
            if (c != '-' && c != '_')
                parts.codeset += jconvert::AsciiLower(c);
    return parts;
}

} // namespace platform
