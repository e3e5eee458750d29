// The controls that hold stored settings, to and from app::Settings: the
// settings table names each control, so one walk over it covers them all.
#include "app/SettingsKey.h"
#include "gui/ColourSwatch.h"
#include "gui/RadioGroup.h"
#include "gui/TForm1.h"
#include "platform/SjisText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <string>
#include <vector>

namespace gui {
namespace {

// The control a stored setting binds to, found by its object name.
template <typename Control> Control* SettingControl(const QObject& form, const app::SettingsKey& key)
{
    return form.findChild<Control*>(
        QString::fromLatin1(key.control.data(), static_cast<int>(key.control.size())));
}

// A list's entries as Shift_JIS, each keeping the bytes it was applied
// with while its text is unchanged.
std::vector<std::string> ListEntries(const QListWidget& list, const std::vector<std::string>& applied)
{
    std::vector<std::string> entries;
    for (int i = 0; i < list.count(); ++i) {
        const QString text = list.item(i)->text();
        const auto same = std::find_if(applied.begin(), applied.end(),
            [&](const std::string& bytes) { return platform::FromSjis(bytes) == text; });
        entries.push_back(platform::ToSjis(text, same == applied.end() ? std::string() : *same));
    }
    return entries;
}

} // namespace

app::Settings TForm1::CollectSettings() const
{
    // Values keep the bytes they were applied with while their text is
    // unchanged (ToSjis alone would turn NEC-selected codes into their IBM
    // twins).
    using Kind = app::SettingsKey::Kind;
    app::Settings s;
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        switch (key.kind) {
        case Kind::List:
            if (const auto* list = SettingControl<QListWidget>(*this, key))
                s.LBoxSetuzokuSaki = ListEntries(*list, applied_.LBoxSetuzokuSaki);
            break;
        case Kind::Text:
            if (const auto* edit = SettingControl<QLineEdit>(*this, key)) {
                s.*key.text = platform::ToSjis(edit->text(), applied_.*key.text);
                // A box left showing its prompt as a hint keeps the prompt.
                if (key.hint && edit->text().isEmpty() && applied_.*key.text == key.initial)
                    s.*key.text = key.initial;
            }
            break;
        case Kind::Number:
            if (const auto* edit = SettingControl<QLineEdit>(*this, key))
                (s.*key.box).SetText(platform::ToSjis(edit->text(), (applied_.*key.box).Text()));
            break;
        case Kind::Password:
            // Typed into a box that never shows it; the window keeps it.
            s.*key.text = password_;
            break;
        case Kind::Colour:
            if (const auto* swatch = SettingControl<ColourSwatch>(*this, key))
                s.*key.number = swatch->Colour();
            break;
        case Kind::Radio:
            if (const auto* group = SettingControl<RadioGroup>(*this, key))
                s.*key.number = group->ItemIndex();
            break;
        case Kind::Tick:
        case Kind::LaterTick:
            if (const auto* box = SettingControl<QCheckBox>(*this, key))
                s.*key.tick = box->isChecked();
            break;
        case Kind::Choice:
            if (const auto* combo = SettingControl<QComboBox>(*this, key))
                s.*key.number = std::max(combo->currentIndex(), 0);
            break;
        case Kind::ListEntry:
            // The whole list with its first key.
            if (const auto* list = SettingControl<QListWidget>(*this, key); list && key.entry == 0)
                s.*key.list = ListEntries(*list, applied_.*key.list);
            break;
        }
    }
    return s;
}

void TForm1::ApplySettings(const app::Settings& s)
{
    using Kind = app::SettingsKey::Kind;
    applied_ = s;
    for (const app::SettingsKey& key : app::SettingsKey::All()) {
        switch (key.kind) {
        case Kind::List:
            if (auto* list = SettingControl<QListWidget>(*this, key)) {
                // The stored server comes after the list's own entry; the
                // same account is shown once.
                list->clear();
                for (const std::string& entry : s.LBoxSetuzokuSaki)
                    if (list->findItems(platform::FromSjis(entry), Qt::MatchExactly).isEmpty())
                        list->addItem(platform::FromSjis(entry));
            }
            break;
        case Kind::Text:
            if (auto* edit = SettingControl<QLineEdit>(*this, key)) {
                // The prompt of a new set-up ("サーバー名をここに入力") is a
                // grey hint in an empty box, not text to delete first.
                const bool prompt = key.hint && s.*key.text == key.initial;
                edit->setText(prompt ? QString() : platform::FromSjis(s.*key.text));
                if (key.hint)
                    edit->setPlaceholderText(platform::FromSjis(key.initial));
            }
            break;
        case Kind::Number:
            if (auto* edit = SettingControl<QLineEdit>(*this, key))
                edit->setText(platform::FromSjis((s.*key.box).Text()));
            break;
        case Kind::Password:
            password_ = storedPassword_ = s.*key.text;
            break;
        case Kind::Colour:
            if (auto* swatch = SettingControl<ColourSwatch>(*this, key))
                swatch->SetColour(s.*key.number);
            break;
        case Kind::Radio:
            if (auto* group = SettingControl<RadioGroup>(*this, key))
                group->SetItemIndex(s.*key.number);
            break;
        case Kind::Tick:
        case Kind::LaterTick:
            if (auto* box = SettingControl<QCheckBox>(*this, key))
                box->setChecked(s.*key.tick);
            break;
        case Kind::Choice:
            if (auto* combo = SettingControl<QComboBox>(*this, key))
                combo->setCurrentIndex(s.*key.number);
            break;
        case Kind::ListEntry:
            if (auto* list = SettingControl<QListWidget>(*this, key); list && key.entry == 0) {
                list->clear();
                for (const std::string& entry : s.*key.list)
                    list->addItem(platform::FromSjis(entry));
            }
            break;
        }
    }
}

} // namespace gui
