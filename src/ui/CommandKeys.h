// The keys of a window's picture buttons. A bound key clicks its button from anywhere in the window,
// edit fields included, even where a field would take the key for itself (Ctrl+D, Ctrl+E and Ctrl+K
// edit the text on this platform); the button becomes reachable with Tab, and its tooltip gives its
// hint and its key, named as Italian keyboards print them.
#pragma once

#include <QKeySequence>
#include <QString>

class Picture;
class QWidget;

namespace CommandKeys {

// Binds the key to the button, whose tooltip becomes "<hint> (<key>)".
void bind(QWidget* window, Picture* button, const QKeySequence& key, const QString& hint);

// A key as the program names it: "Ctrl+Maiusc+Canc", "Pag↓", "Ctrl+Fine".
QString keyText(const QKeySequence& key);

} // namespace CommandKeys
