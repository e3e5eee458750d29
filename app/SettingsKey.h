#pragma once

// The table of stored settings: one entry per key of "corkpane.ini", in the
// order the keys are read and written. Each entry is everything storing one
// value touches: its key, the window control it binds to (by object name),
// the value a new window shows and the member of Settings that holds it.
// Adding a setting is one entry here plus its use.

#include "app/PasswordScrambler.h"
#include "app/Settings.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct SettingsKey {
    enum class Kind {
        List, // the server list: read appends an entry, the first entry is written
        Text, // an edit's text, stored unchanged
        Number, // a number box: its text stored unchanged, read with its fallback
        Password, // the clear-text password, stored scrambled
        Colour, // a colour swatch, stored as a decimal integer
        Radio, // a radio group's index, stored as a decimal integer
        Tick, // a check box: "1" ticked, "0" not; anything but "0" reads as ticked
        // A check box newer than the stored files: a missing key or "0" reads
        // as not ticked, and not ticked is stored by leaving the key out, so
        // a file that lacks it is written back as it was.
        LaterTick,
        // One of a list of words (choices), held as its index and shown in
        // a combo box. A missing key or an unknown word reads as the first,
        // and the first is stored by leaving the key out, so a file that
        // lacks it is written back as it was.
        Choice,
        // One entry of a list stored one key per entry ("…1", "…2", …): an
        // entry that is missing or empty is skipped on reading, and the
        // entries are written from the first key on.
        ListEntry,
    };

    std::string key; // the key as stored, Shift_JIS
    std::string_view control; // the object name of the control it belongs to
    Kind kind;
    // The value a new window shows, in stored form (Shift_JIS text, decimal
    // numbers, "1" for ticked).
    std::string initial;
    std::string Settings::*text = nullptr; // Text, Password
    NumberBox Settings::*box = nullptr; // Number
    // What a number box reads as when its text is no number.
    int fallback = 0;
    int Settings::*number = nullptr; // Colour, Radio, Choice
    bool Settings::*tick = nullptr; // Tick, LaterTick
    int radioItems = 0; // Radio
    // Text: the initial value is a prompt ("…をここに入力") that the window
    // shows as a hint in an empty box; left so, it is stored as it is.
    bool hint = false;
    std::span<const std::string_view> choices {}; // Choice, as stored
    std::vector<std::string> Settings::*list = nullptr; // ListEntry
    int entry = 0; // ListEntry: the entry's index

    // Applies a stored value (empty when the key is missing) to settings.
    void Read(Settings& settings, std::string_view value, const MessageCallback& message) const;
    // The value to store; empty means the key's line is removed.
    std::string Written(const Settings& settings, const MessageCallback& message) const;
    // The control's state as one line of text: the list's entries joined by
    // "|", the password in clear, numbers and ticks in decimal, a choice as
    // its word.
    std::string Shown(const Settings& settings) const;
    // Puts the value a new window shows into settings.
    void SetInitial(Settings& settings) const;
    // A choice's index for a stored word (letter case ignored; 0 when it is
    // none of them), and the word for an index.
    int ChoiceIndex(std::string_view word) const;
    std::string_view ChoiceWord(int index) const;

    // All stored keys in file order.
    static std::span<const SettingsKey> All();

private:
    // A ListEntry's value: its entry, or empty past the list's end.
    std::string ListEntryOf(const Settings& settings) const;
};

} // namespace app
