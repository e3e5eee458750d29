#pragma once

namespace tool {

// Drawing text and reading pictures goes through Qt, which needs its
// application object; a draw into a file needs no display, so the tool's
// is on the offscreen platform. Created once, on first use.
void EnsureGuiApplication();

} // namespace tool
