#pragma once

// Dialogs that record what the window shows and answer from a script.

#include "gui/Dialogs.h"

#include <QStringList>
#include <deque>

class FakeDialogs : public gui::Dialogs {
public:
    struct Shown {
        QString kind; // "message", "question", "error"
        QString text;
        QString caption;
    };

    void Message(const QString& text, const QString& caption) override
    {
        shown.push_back({ QStringLiteral("message"), text, caption });
    }
    bool Question(const QString& text, const QString& caption) override
    {
        shown.push_back({ QStringLiteral("question"), text, caption });
        return answerYes;
    }
    void Error(const QString& text, const QString& caption) override
    {
        shown.push_back({ QStringLiteral("error"), text, caption });
    }
    std::optional<QColor> PickColour(const QColor& start) override
    {
        colourStarts.push_back(start);
        if (colours.empty()) {
            return std::nullopt;
        }
        const std::optional<QColor> colour = colours.front();
        colours.pop_front();
        return colour;
    }

    QStringList Errors() const
    {
        QStringList texts;
        for (const Shown& s : shown) {
            if (s.kind == QStringLiteral("error")) {
                texts << s.text;
            }
        }
        return texts;
    }

    std::vector<Shown> shown;
    bool answerYes = false;
    // Answers of the colour dialog in turn; nullopt is Cancel.
    std::deque<std::optional<QColor>> colours;
    std::vector<QColor> colourStarts;
};
