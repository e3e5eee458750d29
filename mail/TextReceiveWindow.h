#pragma once

#include "mail/ReceiveWindow.h"

#include <functional>
#include <string>
#include <vector>

namespace mail {

// A window stand-in that keeps the log as lines and the memo as text, for
// runs without a window (the command line) and for tests.
class TextReceiveWindow : public ReceiveWindow {
public:
    explicit TextReceiveWindow(std::string memo = {})
        : memo_(std::move(memo))
    {
    }

    // Called with every log line as it is added.
    std::function<void(const std::string&)> onLogLine;

    void SetReceiveEnabled(bool enabled) override { receiveEnabled_ = enabled; }
    void AddLogLine(const std::string& line) override;
    std::string MemoText() const override { return memo_; }
    void AppendMemoLines(const std::string& text) override;

    bool receiveEnabled() const noexcept { return receiveEnabled_; }
    const std::vector<std::string>& log() const noexcept { return log_; }
    const std::string& memo() const noexcept { return memo_; }

private:
    bool receiveEnabled_ = true;
    std::vector<std::string> log_;
    std::string memo_;
};

// Appends text to memo starting on a new line: a line break is put between
// them unless memo is empty or already ends with one.
void AppendLines(std::string& memo, const std::string& text);

} // namespace mail
