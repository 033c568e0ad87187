#include "access/core/Crypt.h"

#include <cstdint>
#include <vector>

using namespace Qt::StringLiterals;

namespace Crypt {

namespace {

// Changing any of these makes every store written so far unreadable, the delivered one included.
constexpr std::uint16_t kStartKey = 0xC35A;
constexpr std::uint16_t kMultiplier = 0x4E6D;
constexpr std::uint16_t kIncrement = 0x9F13;

// The register moves on with the scrambled value, never with the plain one, so decoding can follow
// it from the digits alone. Arithmetic wraps at 16 bits.
std::uint16_t nextKey(std::uint16_t key, std::uint8_t scrambled) {
    const std::uint32_t sum = (std::uint32_t(scrambled) + key) & 0xFFFF;
    return std::uint16_t(sum * kMultiplier + kIncrement);
}

std::uint8_t keyByte(std::uint16_t key) {
    return std::uint8_t(key >> 8);
}

QChar hexDigit(unsigned value) {
    return QChar(u"0123456789ABCDEF"[value & 0xF]);
}

int hexValue(QChar digit) {
    const char16_t c = digit.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

} // namespace

QString encodePassword(QStringView text) {
    QString digits;
    digits.reserve(text.size() * 2);
    std::uint16_t key = kStartKey;
    for (QChar ch : text) {
        const auto scrambled = std::uint8_t((ch.unicode() & 0xFF) ^ keyByte(key));
        digits += hexDigit(scrambled >> 4);
        digits += hexDigit(scrambled);
        key = nextKey(key, scrambled);
    }
    return digits;
}

QString decodePassword(QStringView digits) {
    const qsizetype count = digits.size() / 2;
    std::vector<std::uint8_t> scrambled;
    scrambled.reserve(std::size_t(count));
    for (qsizetype i = 0; i < count; ++i) {
        const int high = hexValue(digits[2 * i]);
        const int low = hexValue(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            throw ConversionError(
                u"\"%1\" non è un numero esadecimale valido."_s.arg(digits.sliced(2 * i, 2)));
        }
        scrambled.push_back(std::uint8_t(high * 16 + low));
    }

    QString plain;
    plain.reserve(count);
    std::uint16_t key = kStartKey;
    for (std::uint8_t value : scrambled) {
        plain += QChar(char16_t(value ^ keyByte(key)));
        key = nextKey(key, value);
    }
    return plain;
}

} // namespace Crypt
