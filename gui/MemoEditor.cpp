#include "gui/MemoEditor.h"

#include <QTextCursor>
#include <QTextDocument>

namespace gui {

MemoEditor::MemoEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void MemoEditor::AppendLines(const QString& text)
{
    QString current = toPlainText();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (!current.isEmpty() && !current.endsWith(QChar('\n'))) {
        cursor.insertText(QStringLiteral("\n"));
    }
    cursor.insertText(text);
}

void MemoEditor::SetSjisText(std::string_view bytes)
{
    origins_.Clear();
    setPlainText(origins_.DecodeLines(bytes));
}

void MemoEditor::AppendSjisLines(std::string_view bytes)
{
    AppendLines(origins_.DecodeLines(bytes));
}

std::string MemoEditor::SjisText() const
{
    return origins_.EncodeLines(toPlainText());
}

} // namespace gui
