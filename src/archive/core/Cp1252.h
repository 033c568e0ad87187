// Windows-1252, the code page of every archive, on every platform and whatever the user's locale.
// Text is normalised to NFC; a character that 1252 holds maps exactly (the euro sign at 0x80
// included); otherwise the base letter, when dropping its diacritics leaves a 1252 character;
// otherwise "?". The five codes that 1252 leaves undefined read back as the C1 controls of the
// same value and are written again from them, so every byte of a foreign file survives a round trip.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace Cp1252 {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// The Unicode character of one byte.
char16_t toUnicode(unsigned char byte);

// Whether a character is stored exactly: encoding it and decoding the byte gives it back. Letters
// that only best-fit ("ś" stored as "s") and lone surrogates are not.
bool holds(char32_t c);

// Whether a whole text is stored exactly once normalised to NFC, as encode() normalises it: a letter
// typed as a base letter and a combining accent ("e" + U+0301) is held when its composed form is.
bool holds(QStringView text);

// The first character of the text, normalised to NFC, that is not stored exactly; none when the
// whole text is held. A lone surrogate is reported as U+FFFD.
std::optional<char32_t> firstUnheld(QStringView text);

// The plain letters that stand in for a character the code page does not hold: the letter with as
// many of its accents as the code page keeps ("ǖ" gives "ü", "ś" gives "s"), the letter a letter
// with a stroke is written with ("Ł" gives "L", "ı" gives "i"), or the letters and digits of its
// compatibility form ("ﬁ" gives "fi", "Ａ" gives "A"). Empty when there is none (Greek, Cyrillic,
// CJK, symbols, emoji) and for a character that is held.
QString plainLetters(char32_t c);

} // namespace Cp1252
