#pragma once

#include <QString>

namespace calc {

// What an entry box does with one key: the text and cursor it shows afterwards, and what became of the key.
struct KeyResult
{
    enum class Action {
        Edit,    // the key changed the text (a character typed, a backspace)
        Discard, // the key is thrown away; the text is unchanged
        Enter,   // Enter is consumed and handed to the window, which moves to the next control
        Pass,    // a control key (tab, line feed) left to the box itself; the text is unchanged
    };

    Action action = Action::Discard;
    QString text;
    int cursor = 0;
};

} // namespace calc
