#include "archive/core/Cp1252.h"

#include <QList>

#include <array>

namespace Cp1252 {

namespace {

// 0x80-0x9F; the undefined codes 0x81, 0x8D, 0x8F, 0x90 and 0x9D keep the C1 control of their value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr char kReplacement = '?';

// The byte of a character that 1252 holds exactly, or -1.
int exactByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int i = 0; i < int(kHighControls.size()); ++i) {
        if (kHighControls[i] == c)
            return 0x80 + i;
    }
    return -1;
}

// The byte of the base character left when the diacritics are dropped, or -1.
int bestFitByte(char32_t c) {
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    const auto ucs4 = decomposed.toUcs4();
    if (ucs4.size() < 2)
        return -1;
    for (qsizetype i = 1; i < ucs4.size(); ++i) {
        if (QChar::category(ucs4[i]) != QChar::Mark_NonSpacing)
            return -1;
    }
    return exactByte(ucs4[0]);
}

bool isLatin1Only(QStringView text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80 && c.unicode() < 0xA0)
            return false;
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

} // namespace

QByteArray encode(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    // Latin-1 text (all of plain Italian) is already NFC and maps byte for byte.
    if (isLatin1Only(text)) {
        for (QChar c : text)
            out.append(char(c.unicode()));
        return out;
    }
    const QString nfc = text.toString().normalized(QString::NormalizationForm_C);
    for (char32_t c : nfc.toUcs4()) {
        int byte = exactByte(c);
        if (byte < 0)
            byte = bestFitByte(c);
        out.append(byte < 0 ? kReplacement : char(byte));
    }
    return out;
}

char16_t toUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControls[byte - 0x80];
    return byte;
}

QString decode(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* dst = out.data();
    for (char b : bytes)
        *dst++ = QChar(toUnicode(static_cast<unsigned char>(b)));
    return out;
}

} // namespace Cp1252
