#pragma once

// The window's message boxes and its colour dialog, behind an interface so
// that tests can answer them instead of a person.

#include <QColor>
#include <QString>
#include <optional>

class QWidget;

namespace gui {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A simple box with an OK button.
    virtual void Message(const QString& text, const QString& caption) = 0;
    // A Yes/No question without icon; true for Yes.
    virtual bool Question(const QString& text, const QString& caption) = 0;
    // The standard error box for an error that left an event handler.
    virtual void Error(const QString& text, const QString& caption) = 0;
    // The colour dialog started from `start`; nothing when cancelled.
    virtual std::optional<QColor> PickColour(const QColor& start) = 0;
};

// The real dialogs, owned by `parent`'s window.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr)
        : parent_(parent)
    {
    }
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Message(const QString& text, const QString& caption) override;
    bool Question(const QString& text, const QString& caption) override;
    void Error(const QString& text, const QString& caption) override;
    std::optional<QColor> PickColour(const QColor& start) override;

private:
    QWidget* parent_;
};

} // namespace gui
