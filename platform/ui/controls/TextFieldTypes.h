// The numbered choices of text fields, with the platform's values, and the range of text an edit replaces
// (counted in Unicode code points).
#pragma once

#include <cstddef>

namespace ui {

enum class TextBorderStyle { None = 0, Line = 1, Bezel = 2, RoundedRect = 3 };

// When an accessory such as the clear button shows.
enum class TextFieldViewMode { Never = 0, WhileEditing = 1, UnlessEditing = 2, Always = 3 };

// Stored and shown on the keyboard's return key only.
enum class ReturnKeyType {
    Default = 0,
    Go = 1,
    Google = 2,
    Join = 3,
    Next = 4,
    Route = 5,
    Search = 6,
    Send = 7,
    Yahoo = 8,
    Done = 9,
    EmergencyCall = 10
};

// Stored only: the desktop keyboard types any text.
enum class KeyboardType {
    Default = 0,
    ASCIICapable = 1,
    NumbersAndPunctuation = 2,
    URL = 3,
    NumberPad = 4,
    PhonePad = 5,
    NamePhonePad = 6,
    EmailAddress = 7,
    DecimalPad = 8
};

struct TextRange {
    size_t location { 0 };
    size_t length { 0 };

    size_t end() const { return location + length; }
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

} // namespace ui
