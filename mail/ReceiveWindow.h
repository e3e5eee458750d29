#pragma once

#include <string>

namespace mail {

// What a reception run needs from the window: the receive button, the
// reception log and the memo. All texts are Shift_JIS.
class ReceiveWindow {
public:
    virtual ~ReceiveWindow() = default;

    // Disabled while a run is in progress.
    virtual void SetReceiveEnabled(bool enabled) = 0;
    // Adds one line to the reception log.
    virtual void AddLogLine(const std::string& line) = 0;
    // The memo's current text, lines separated by CR LF.
    virtual std::string MemoText() const = 0;
    // Adds text (lines, each ended by CR LF) to the end of the memo, starting
    // on a new line.
    virtual void AppendMemoLines(const std::string& text) = 0;
};

} // namespace mail
