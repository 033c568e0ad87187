// Windows-1252, the code page of every archive, on every platform and whatever the user's locale.
// Text is normalised to NFC; a character that 1252 holds maps exactly (the euro sign at 0x80
// included); otherwise the base letter, when dropping its diacritics leaves a 1252 character;
// otherwise "?". The five codes that 1252 leaves undefined read back as the C1 controls of the
// same value and are written again from them, so every byte of a foreign file survives a round trip.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Cp1252 {

QByteArray encode(QStringView text);
QString decode(QByteArrayView bytes);

// The Unicode character of one byte.
char16_t toUnicode(unsigned char byte);

} // namespace Cp1252
