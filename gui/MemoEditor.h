#pragma once

// The memo editor: a word-wrapping plain-text box that keeps the bytes each
// line was read with while the line is unchanged.

#include "platform/SjisLineOrigins.h"

#include <QPlainTextEdit>
#include <string>
#include <string_view>

namespace gui {

class MemoEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEditor(QWidget* parent = nullptr);

    // Adds text at the end, starting on a new line when the memo does not
    // already end with one.
    void AppendLines(const QString& text);

    // The memo as Shift_JIS with CR LF line ends. Lines the user did not
    // change come back with exactly the bytes they were set or appended
    // with.
    void SetSjisText(std::string_view bytes);
    void AppendSjisLines(std::string_view bytes);
    std::string SjisText() const;

private:
    platform::SjisLineOrigins origins_;
};

} // namespace gui
