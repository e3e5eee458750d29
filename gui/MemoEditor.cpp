#include "gui/MemoEditor.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace gui {

MemoEditor::MemoEditor(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A permanent scroll bar keeps the wrap width the same whatever the
    // length of the text, so the displayed lines do not depend on it.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

qreal MemoEditor::TextWidth() const
{
    // The viewport is only laid out once the editor has been shown; before
    // that its size follows from the editor's own geometry.
    const int scrollBar = verticalScrollBar()->sizeHint().width();
    const int viewportWidth = width() - 2 * frameWidth() - scrollBar;
    return viewportWidth - 2 * document()->documentMargin();
}

QStringList MemoEditor::DisplayedLines() const
{
    QStringList lines;
    const QTextDocument* doc = document();
    const qreal width = TextWidth();
    const QTextOption option = doc->defaultTextOption();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (!block.next().isValid() && text.isEmpty()) {
            break; // an empty last paragraph is no line of its own
        }
        if (text.isEmpty() || width <= 0) {
            lines.append(text);
            continue;
        }
        QTextLayout layout(text, doc->defaultFont());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    return lines;
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
