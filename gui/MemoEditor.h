#pragma once

// The memo editor: a word-wrapping plain-text box that can report its text
// the way it shows it, one entry per displayed line, which is what the
// wallpaper draws.

#include "platform/SjisLineOrigins.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <string>
#include <string_view>

namespace gui {

class MemoEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoEditor(QWidget* parent = nullptr);

    // The lines as displayed at the editor's current width: each paragraph
    // broken where the editor's word wrap breaks it. A line break at the very
    // end of the text starts no further line, and an empty memo has no lines.
    // Works before the editor was ever shown, from its geometry.
    QStringList DisplayedLines() const;

    // The width in pixels available to a line of text.
    qreal TextWidth() const;

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
