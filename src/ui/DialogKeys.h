// Return and Escape, answered alike in every window. Return presses the button that has the focus, or
// else the button the window is for (OK, Importa, Apri archivio, Applica e chiudi, Stampa); Escape
// presses the button that leaves the window (Annulla, Chiudi, Esci), so it does exactly what that
// button does. A control that gives either key a meaning of its own keeps it: a field whose Return
// passes the focus on (ReturnChain), a list, the calendar, a grid cell being edited. The window sees
// the key only when no control took it. A key held down presses nothing more.
#pragma once

#include <QWidget>

#include <initializer_list>

namespace DialogKeys {

// Each list names buttons of the window (push buttons or clickable pictures): the key presses the first
// of them that is shown and enabled, and nothing when none is, so a window of two pages names the
// buttons of both. Installed after the window's frame is made (WindowFrame), whose fixed dialogs
// otherwise ignore Escape.
void install(QWidget* window, std::initializer_list<QWidget*> returnPresses,
             std::initializer_list<QWidget*> escapePresses);

// A key for a command whose button the keyboard cannot reach (a clickable picture): pressed, without
// modifiers, while the focus is in the control `where` or, for a window, anywhere in it, it presses the
// button as a click does (F1 for the help, Delete on a list for the waste bin).
void bindKey(QWidget* where, Qt::Key key, QWidget* button);

} // namespace DialogKeys
