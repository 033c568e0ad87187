// What a user types into a field, and what the program answers when a book cannot store it.
#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

// Types text one character at a time as a keyboard or an input method hands it over: a character
// beyond the first 65536 (an emoji) comes as one key event of two UTF-16 units.
inline void typeCharacters(QWidget* widget, const QString& text) {
    for (char32_t c : text.toUcs4())
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
}

// The refusal of a character that a book cannot store, as the status line or a balloon tells it.
inline QString refusal(const QString& character, const QString& plain = {}) {
    return QStringLiteral("Il carattere «") + character +
           QStringLiteral("» non è stato inserito: un book conserva solo lettere e segni dell'Europa "
                          "occidentale.") +
           (plain.isEmpty() ? QString() : QStringLiteral(" Scrivere «") + plain + QStringLiteral("»."));
}

// A key named as a test's steps name it: Return, Escape, Tab, or an arrow (Right or Down, as given).
inline Qt::Key keyNamed(const QString& name, Qt::Key otherwise) {
    return name == QStringLiteral("Return")   ? Qt::Key_Return
           : name == QStringLiteral("Escape") ? Qt::Key_Escape
           : name == QStringLiteral("Tab")    ? Qt::Key_Tab
                                              : otherwise;
}
