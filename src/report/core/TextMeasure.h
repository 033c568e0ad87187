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
// neighbours: Latin letters, digits, punctuation and the symbols of Western European text.
bool isPlainCharacter(char16_t c);

// The advances of one font's characters, in measuring dots.
class CharacterWidths {
public:
    explicit CharacterWidths(const QFont& font);

    // True when the font's characters may be measured one by one: a fixed-pitch font.
    bool quick() const { return m_quick; }
    // The advance of a plain character; only for a quick font.
    qreal advance(char16_t c) {
        float& known = m_advance[c - kFirst];
        if (known < 0)
            known = float(m_metrics.horizontalAdvance(QChar(c)));
        return qreal(known);
    }
    // The width of the whole text, or nothing when the text holds a character that is not plain.
    std::optional<qreal> width(QStringView text);
    const QFontMetricsF& metrics() const { return m_metrics; }

private:
    // Plain characters lie between these two.
    static constexpr char16_t kFirst = 0x20;
    static constexpr char16_t kEnd = 0x2123;

    QFontMetricsF m_metrics;
    bool m_quick = false;
    std::vector<float> m_advance;
};

} // namespace Report
