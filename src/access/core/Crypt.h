// Scrambling of the access password for its store. Every character is reduced to 8 bits and mixed
// with a 16-bit key register that moves on with each scrambled value, so equal characters give
// different digits; the scrambled values are written as two upper-case hexadecimal digits each.
// The three constants that drive the register are built into the program and never stored: a store
// reads back only under the values it was written with.
#pragma once

#include "base/LumiveraError.h"

#include <QString>
#include <QStringView>

namespace Crypt {

// A scrambled text holds a pair of digits that is not a hexadecimal number.
class ConversionError : public LumiveraError {
public:
    using LumiveraError::LumiveraError;
};

// Two upper-case hexadecimal digits per character, from the low 8 bits of each character's code.
// Meant for texts of up to 255 characters, all of them U+00FF or lower: anything else cannot be
// given back by DecodePassword.
QString encodePassword(QStringView text);

// One character (U+0000 to U+00FF) per pair of digits of either case; an odd last digit is ignored.
// Every pair is checked before anything is decoded: a pair that is not a hexadecimal number throws
// ConversionError.
QString decodePassword(QStringView digits);

} // namespace Crypt
