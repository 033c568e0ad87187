#include "search/core/CardSearch.h"

#include "archive/core/BookArchive.h"
#include "archive/core/Cp1252.h"
#include "base/TextRules.h"

#include <algorithm>
#include <vector>

namespace CardSearch {

namespace {

// A field's stored text as the list shows it: cut to `width` characters (whole when `width` is
// negative), and the characters it takes in the line, blanks after the text included.
struct FieldText {
    QByteArrayView bytes;
    qsizetype width;
};

FieldText fieldText(const TScheda& card, TScheda::Field field, int width) {
    const QByteArrayView text = card.storedText(field);
    const QByteArrayView shown = width < 0 ? text : text.first(std::min<qsizetype>(text.size(), width));
    return {shown, std::max<qsizetype>(shown.size(), width)};
}

char16_t* put(char16_t* out, const FieldText& field) {
    out = std::transform(field.bytes.begin(), field.bytes.end(), out,
                         [](char byte) { return Cp1252::toUnicode(static_cast<unsigned char>(byte)); });
    return std::fill_n(out, field.width - field.bytes.size(), u' ');
}

char16_t* put(char16_t* out, QStringView text) {
    return std::copy(text.utf16(), text.utf16() + text.size(), out);
}

constexpr int kBlock = 512; // records a read: about 1.8 MB

} // namespace

int criteriaCount(const Criteria& criteria) {
    return int(std::count_if(criteria.begin(), criteria.end(),
                             [](const QString& c) { return !TextRules::trim(c).isEmpty(); }));
}

bool matches(const TScheda& card, const Criteria& criteria) {
    for (std::size_t i = 0; i < criteria.size(); ++i) {
        if (TextRules::trim(criteria[i]).isEmpty())
            continue;
        const QString field = TextRules::foldAZ(card.field(kSearchable[i]));
        if (!field.contains(TextRules::foldAZ(criteria[i])))
            return false;
    }
    return true;
}

QString resultLine(const TScheda& card) {
    constexpr QStringView kData = u"  Data: ";
    constexpr QStringView kLocation = u"  Location: ";
    constexpr QStringView kNote = u"  Note:  ";
    const FieldText title = fieldText(card, TScheda::Titolo, 50);
    const FieldText date = fieldText(card, TScheda::Data, 10);
    const FieldText location = fieldText(card, TScheda::Location, 30);
    const FieldText note = fieldText(card, TScheda::Note, -1);
    QString line(title.width + kData.size() + date.width + kLocation.size() + location.width + kNote.size() +
                     note.width,
                 Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(line.data());
    out = put(put(put(put(put(put(put(out, title), kData), date), kLocation), location), kNote), note);
    return line;
}

bool linesBefore(const QString& a, const QString& b) {
    // Compared as they stand until two characters differ, which is then folded: no folded copies.
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t* p = QStringView(a).utf16();
    const char16_t* q = QStringView(b).utf16();
    for (qsizetype i = 0; i < common; ++i) {
        if (p[i] != q[i]) {
            const char16_t x = TextRules::foldedAZ(p[i]);
            const char16_t y = TextRules::foldedAZ(q[i]);
            if (x != y)
                return x < y;
        }
    }
    return a.size() < b.size();
}

QList<Hit> run(const QString& archivePath, const Criteria& criteria) {
    // The criteria are folded once, not once a card.
    Criteria folded;
    for (std::size_t i = 0; i < criteria.size(); ++i)
        folded[i] = TextRules::trim(criteria[i]).isEmpty() ? QString() : TextRules::foldAZ(criteria[i]);

    QList<Hit> hits;
    BookArchive archive;
    archive.open(archivePath);
    std::vector<TScheda> block;
    int position = 0;
    while (archive.readBlock(block, kBlock) > 0) {
        for (const TScheda& card : block) {
            ++position;
            bool listed = true;
            for (std::size_t i = 0; i < folded.size() && listed; ++i) {
                if (!folded[i].isEmpty())
                    listed = TextRules::foldAZ(card.field(kSearchable[i])).contains(folded[i]);
            }
            if (listed)
                hits.append({resultLine(card), position});
        }
    }
    archive.close();
    // In the order of the lines with the letters folded; lines that differ only in case keep the book's
    // order.
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return linesBefore(a.line, b.line); });
    return hits;
}

} // namespace CardSearch
