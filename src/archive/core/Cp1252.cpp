#include "archive/core/Cp1252.h"

#include <QList>

#include <array>
#include <span>
#include <utility>
#include <vector>

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

// A character and the plain letters or sign written for it.
using PlainForm = std::pair<char32_t, const char16_t*>;

// Letters with a stroke or another mark that is part of the letter, which no decomposition takes off.
constexpr PlainForm kStrokedLetters[] = {
    {U'Ł', u"L"},  {U'ł', u"l"},  {U'Đ', u"D"}, {U'đ', u"d"}, {U'Ħ', u"H"}, {U'ħ', u"h"},
    {U'ı', u"i"},  {U'ȷ', u"j"},  {U'Ŧ', u"T"}, {U'ŧ', u"t"}, {U'Ŀ', u"L"}, {U'ŀ', u"l"},
    {U'Ĳ', u"IJ"}, {U'ĳ', u"ij"}, {U'ĸ', u"k"}, {U'ſ', u"s"}, {U'Ŋ', u"N"}, {U'ŋ', u"n"},
    {U'ẞ', u"SS"}, {U'ƀ', u"b"},  {U'Ɨ', u"I"}, {U'ɨ', u"i"}, {U'Ƶ', u"Z"}, {U'ƶ', u"z"},
    {U'Ɍ', u"R"},  {U'ɍ', u"r"},  {U'Ƚ', u"L"}, {U'ƚ', u"l"}, {U'Ɖ', u"D"}, {U'ɖ', u"d"},
    {U'Ȼ', u"C"},  {U'ȼ', u"c"},  {U'Ɇ', u"E"}, {U'ɇ', u"e"}, {U'Ʉ', u"U"}, {U'ʉ', u"u"},
};

// Signs whose plain form every reader knows: hyphens and the minus sign, the figure dash, the prime and
// the modifier apostrophe.
constexpr PlainForm kPlainSigns[] = {
    {U'\u2010', u"-"},      {U'\u2011', u"-"}, {U'\u2212', u"-"},
    {U'\u2012', u"\u2013"}, {U'\u2032', u"'"}, {U'\u02BC', u"\u2019"},
};

bool isMark(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return false;
    }
}

QString fromCharacter(char32_t c) {
    return QString::fromUcs4(&c, 1);
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

bool holds(char32_t c) {
    return exactByte(c) >= 0;
}

bool holds(QStringView text) {
    return !firstUnheld(text);
}

std::optional<char32_t> firstUnheld(QStringView text) {
    if (isLatin1Only(text))
        return std::nullopt;
    for (char32_t c : text.toString().normalized(QString::NormalizationForm_C).toUcs4()) {
        if (!holds(c))
            return c;
    }
    return std::nullopt;
}

QString plainLetters(char32_t c) {
    if (holds(c))
        return {};
    for (std::span<const PlainForm> table :
         {std::span<const PlainForm>(kStrokedLetters), std::span<const PlainForm>(kPlainSigns)}) {
        for (const auto& [character, plain] : table) {
            if (character == c)
                return QString::fromUtf16(plain);
        }
    }
    // The letter with as many of its accents, in their canonical order, as the code page still
    // composes it with; the full form first, for a character whose composed form is held (U+212B).
    const QList<uint> nfd = fromCharacter(c).normalized(QString::NormalizationForm_D).toUcs4();
    const std::vector<char32_t> decomposed(nfd.cbegin(), nfd.cend());
    if (decomposed.empty())
        return {}; // no character at all: a lone surrogate or a value beyond Unicode
    if (!isMark(decomposed.front())) {
        for (std::size_t kept = decomposed.size(); kept >= 1; --kept) {
            const QString letter = QString::fromUcs4(decomposed.data(), qsizetype(kept))
                                       .normalized(QString::NormalizationForm_C);
            if (holds(letter))
                return letter;
        }
        if (decomposed.size() > 1) {
            if (const QString base = plainLetters(decomposed.front()); !base.isEmpty())
                return base; // a letter with a stroke and an accent
        }
    }
    // A compatibility form made only of letters and digits: ligatures, full-width and styled letters.
    // Forms with other signs ("a/c" for U+2100) are no plain letters.
    QString letters;
    for (char32_t part : fromCharacter(c).normalized(QString::NormalizationForm_KD).toUcs4()) {
        if (isMark(part))
            continue;
        if (!QChar::isLetterOrNumber(part) || !holds(part))
            return {};
        letters += fromCharacter(part);
    }
    return letters;
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
