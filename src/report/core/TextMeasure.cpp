#include "report/core/TextMeasure.h"

#include <QFontInfo>

namespace Report {

const QImage& measureDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dotsPerMetre = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

bool isPlainCharacter(char16_t c) {
    if (c >= 0x20 && c < 0x7F)
        return true;
    if (c >= 0xA0 && c < 0x300)
        return c != 0xAD; // a soft hyphen prints only where a line breaks
    switch (c) {
    case 0x2013:
    case 0x2014:
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x2020:
    case 0x2021:
    case 0x2022:
    case 0x2026:
    case 0x2030:
    case 0x2039:
    case 0x203A:
    case 0x20AC:
    case 0x2122:
        return true;
    default:
        return false;
    }
}

CharacterWidths::CharacterWidths(const QFont& font)
    : m_metrics(font, &measureDevice())
    , m_quick(QFontInfo(font).fixedPitch()) {
    if (m_quick)
        m_advance.assign(kEndPlain - kFirstPlain, kUnknown);
}

qreal CharacterWidths::lookUp(char16_t c) {
    float& known = m_advance[c - kFirstPlain];
    known = isPlainCharacter(c) ? float(m_metrics.horizontalAdvance(QChar(c))) : kNotPlain;
    return qreal(known);
}

} // namespace Report
