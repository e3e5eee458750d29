#pragma once

#include "gui/MemoEditor.h"
#include "mail/ReceiveWindow.h"
#include "platform/SjisText.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

namespace gui {

// What a reception run sees of the window: the receive button, the log
// and the memo.
class FormReceiveWindow : public mail::ReceiveWindow {
public:
    FormReceiveWindow(QPushButton& button, QPlainTextEdit& log, MemoEditor& memo)
        : button_(button)
        , log_(log)
        , memo_(memo)
    {
    }
    void SetReceiveEnabled(bool enabled) override { button_.setEnabled(enabled); }
    void AddLogLine(const std::string& line) override { log_.appendPlainText(platform::FromSjis(line)); }
    std::string MemoText() const override { return memo_.SjisText(); }
    void AppendMemoLines(const std::string& text) override { memo_.AppendSjisLines(text); }

private:
    QPushButton& button_;
    QPlainTextEdit& log_;
    MemoEditor& memo_;
};

} // namespace gui
