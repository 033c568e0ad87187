// The cards that the journal test and its writer program agree on. Every byte of a card, the bytes
// after each text included, depends on its tag and number, so a record made of two cards' bytes, or
// damaged anywhere, never equals either of them.
#pragma once

#include "archive/core/TScheda.h"

#include <QByteArray>
#include <QString>

namespace JournalCards {

inline TScheda card(const QString& tag, int number) {
    TScheda card;
    quint32 state = 2166136261u; // FNV-1a of the tag, then the number
    for (QChar c : tag)
        state = (state ^ c.unicode()) * 16777619u;
    state = (state ^ quint32(number)) * 16777619u;
    for (unsigned char& byte : card.bytes()) {
        state = state * 1664525u + 1013904223u; // a small linear congruential sequence
        byte = static_cast<unsigned char>(state >> 24);
    }
    card.setField(TScheda::Titolo, QStringLiteral("%1 %2").arg(tag).arg(number));
    card.setField(TScheda::Data, QStringLiteral("01/03/2024"));
    card.setField(TScheda::Location, QStringLiteral("Milano"));
    return card;
}

inline QByteArray bytes(const TScheda& card) {
    return QByteArray(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
}

inline QByteArray bytes(const QString& tag, int number) {
    return bytes(card(tag, number));
}

} // namespace JournalCards
