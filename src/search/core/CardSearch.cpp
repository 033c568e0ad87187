#include "search/core/CardSearch.h"

#include "archive/core/BookArchive.h"
#include "base/TextRules.h"

#include <algorithm>
#include <vector>

namespace CardSearch {

namespace {

QString fitted(const QString& text, int width) {
    const QString trimmed = TextRules::trim(text);
    return trimmed.size() >= width ? trimmed.left(width) : trimmed.leftJustified(width, u' ');
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
    return fitted(card.field(TScheda::Titolo), 50) + QStringLiteral("  Data: ") +
           fitted(card.field(TScheda::Data), 10) + QStringLiteral("  Location: ") +
           fitted(card.field(TScheda::Location), 30) + QStringLiteral("  Note:  ") +
           TextRules::trim(card.field(TScheda::Note));
}

bool linesBefore(const QString& a, const QString& b) {
    return TextRules::foldAZ(a) < TextRules::foldAZ(b);
}

QList<Hit> run(const QString& archivePath, const Criteria& criteria) {
    // The criteria are folded once, not once a card.
    Criteria folded;
    for (std::size_t i = 0; i < criteria.size(); ++i)
        folded[i] = TextRules::trim(criteria[i]).isEmpty() ? QString() : TextRules::foldAZ(criteria[i]);

    struct Keyed {
        QString key;
        Hit hit;
    };
    std::vector<Keyed> found;
    BookArchive archive;
    archive.Open(archivePath);
    std::vector<TScheda> block;
    int position = 0;
    while (archive.ReadBlock(block, kBlock) > 0) {
        for (const TScheda& card : block) {
            ++position;
            bool listed = true;
            for (std::size_t i = 0; i < folded.size() && listed; ++i) {
                if (!folded[i].isEmpty())
                    listed = TextRules::foldAZ(card.field(kSearchable[i])).contains(folded[i]);
            }
            if (listed) {
                QString line = resultLine(card);
                found.push_back({TextRules::foldAZ(line), {std::move(line), position}});
            }
        }
    }
    archive.Close();
    std::stable_sort(found.begin(), found.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
    QList<Hit> hits;
    hits.reserve(qsizetype(found.size()));
    for (Keyed& k : found)
        hits.append(std::move(k.hit));
    return hits;
}

} // namespace CardSearch
