#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace render {

// GNOME keeps slide shows and day-and-night pictures as an XML list
// (<background>: a <starttime>, then <static> pictures and <transition>s,
// each with a <duration> in seconds, repeated from the start time on).
// True when data looks like such a list.
bool IsGnomeSlideShow(std::string_view data);

// The picture the list shows at local time now: a static picture, or during
// a transition the picture it comes from for its first half and the one it
// goes to for its second. Where a <file> offers several <size>s, the one
// GNOME picks for a width x height screen. A relative path is taken from
// folder. Empty when the list names no picture.
std::string SlideShowPicture(std::string_view xml, const std::filesystem::path& folder,
    std::chrono::local_seconds now, int width, int height);

} // namespace render
