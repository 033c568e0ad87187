// How the report engine measures text: on a device of its own at printer resolution, so that what fits
// a line does not depend on the screen or the printer the report goes to; and, for the plain
// characters of a fixed-pitch font, by adding up advances looked up once per character, which gives
// the same widths as shaping the line without its cost.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStringView>

#include <optional>
#include <vector>

namespace Report {

inline constexpr qreal kMeasureDpi = 1200;

// A 1-pixel image at kMeasureDpi: measures taken on it are in its dots.
const QImage& measureDevice();

inline constexpr qreal dotsToMm(qreal dots) {
    return dots * 25.4 / kMeasureDpi;
}

// True for characters that are printed one glyph each, never joined, reordered or combined with their
// neighbours: Latin letters, digits, punctuation and the symbols of Western European text. All of
// them lie from kFirstPlain up to kEndPlain, so tables of them can be indexed by their code.
bool isPlainCharacter(char16_t c);
inline constexpr char16_t kFirstPlain = 0x20;
inline constexpr char16_t kEndPlain = 0x2123;

// The advances of one font's characters, in measuring dots.
class CharacterWidths {
public:
    explicit CharacterWidths(const QFont& font);

    // True when the font's characters may be measured one by one: a fixed-pitch font.
    bool quick() const { return m_quick; }
    // The advance of a plain character; only for a quick font.
    qreal advance(char16_t c) {
        const float known = m_advance[c - kFirstPlain];
        return known >= 0 ? qreal(known) : lookUp(c);
    }
    // The width of the whole text, or nothing when the text holds a character that is not plain.
    std::optional<qreal> width(QStringView text) {
        if (!m_quick)
            return std::nullopt;
        qreal sum = 0;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < kFirstPlain || u >= kEndPlain)
                return std::nullopt;
            const float known = m_advance[u - kFirstPlain];
            if (known >= 0)
                sum += qreal(known);
            else if (known == kNotPlain)
                return std::nullopt;
            else
                sum += lookUp(u);
        }
        return sum;
    }
    const QFontMetricsF& metrics() const { return m_metrics; }

private:
    // Measures a character the first time it comes; -1 for a character that is not plain.
    qreal lookUp(char16_t c);

    static constexpr float kUnknown = -1.0f;
    static constexpr float kNotPlain = -2.0f;
    QFontMetricsF m_metrics;
    bool m_quick = false;
    std::vector<float> m_advance;
};

} // namespace Report
