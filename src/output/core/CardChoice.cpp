#include "output/core/CardChoice.h"

#include "archive/core/BookArchive.h"
#include "archive/core/TScheda.h"
#include "base/TextRules.h"

#include <QList>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace CardChoice {

namespace {

// Larger than any position: a number written with more digits than a position can have stands for
// this, so it is said to lie beyond the book's last card rather than taken for another number.
constexpr qint64 kBeyondAnyCard = qint64(std::numeric_limits<int>::max()) + 1;

// A part of the list between two commas: one position (low == high) or a range, as written.
struct Part {
    qint64 low;
    qint64 high;
    QString written;
};

// The number written with the digits 0 to 9 and nothing else, or none.
std::optional<qint64> numberIn(QStringView text) {
    if (text.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c.unicode() - u'0'), kBeyondAnyCard);
    }
    return value;
}

// The parts of the list, or what is wrong with its form.
QString partsOf(QStringView text, std::vector<Part>& parts) {
    const QString list = TextRules::trim(text);
    if (list.isEmpty())
        return u"l'elenco delle schede è vuoto."_s;
    for (const QStringView piece : QStringView(list).split(u',')) {
        const QString written = TextRules::trim(piece);
        if (written.isEmpty())
            return u"nell'elenco \"%1\" manca un numero prima o dopo una virgola."_s.arg(list);
        const qsizetype dash = written.indexOf(u'-');
        const std::optional<qint64> low =
            numberIn(TextRules::trim(QStringView(written).left(dash < 0 ? written.size() : dash)));
        const std::optional<qint64> high =
            dash < 0 ? low : numberIn(TextRules::trim(QStringView(written).mid(dash + 1)));
        if (!low || !high)
            return u"\"%1\" non è un numero di scheda né un intervallo come 5-9."_s.arg(written);
        if (*low == 0 || *high == 0)
            return u"\"%1\": le schede si contano da 1, la scheda 0 non c'è."_s.arg(written);
        if (*low > *high)
            return u"l'intervallo \"%1\" va all'indietro: si scrive dalla scheda più bassa alla più alta, "
                   u"come %2-%3."_s.arg(written)
                       .arg(*high)
                       .arg(*low);
        parts.push_back({*low, *high, written});
    }
    return {};
}

} // namespace

QString bookHas(int cardCount) {
    if (cardCount <= 0)
        return u"il book non ha schede"_s;
    if (cardCount == 1)
        return u"il book ne ha una sola"_s;
    return u"il book ne ha %1"_s.arg(cardCount);
}

QString formProblem(QStringView text) {
    std::vector<Part> parts;
    return partsOf(text, parts);
}

Parsed parse(QStringView text, int cardCount) {
    Parsed parsed;
    std::vector<Part> parts;
    parsed.problem = partsOf(text, parts);
    if (!parsed.problem.isEmpty())
        return parsed;
    for (const Part& part : parts) {
        if (part.high <= cardCount)
            continue;
        parsed.problem = part.low == part.high
                             ? u"la scheda %1 non c'è: %2."_s.arg(part.written, bookHas(cardCount))
                             : u"l'intervallo \"%1\" va oltre l'ultima scheda: %2."_s.arg(part.written,
                                                                                          bookHas(cardCount));
        return parsed;
    }
    // Each part lies within the book now: merged in the book's order, every position comes out once,
    // and the list takes no more room than the positions it names.
    std::sort(parts.begin(), parts.end(), [](const Part& a, const Part& b) { return a.low < b.low; });
    qint64 next = 1; // the first position not yet taken
    for (const Part& part : parts) {
        for (qint64 position = std::max(part.low, next); position <= part.high; ++position)
            parsed.positions.push_back(int(position));
        next = std::max(next, part.high + 1);
    }
    return parsed;
}

Positions ordered(Positions positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    return positions;
}

QString problemIn(const Positions& positions, int cardCount) {
    if (positions.empty())
        return u"nessuna scheda scelta."_s;
    if (positions.front() < 1)
        return u"le schede si contano da 1: la scheda %1 non c'è."_s.arg(positions.front());
    if (positions.back() > cardCount)
        return u"la scheda %1 non c'è: %2."_s.arg(positions.back()).arg(bookHas(cardCount));
    return {};
}

void readChosen(BookArchive& archive, const Positions& positions, int blockCards,
                const std::function<void(const TScheda& card, int position)>& card) {
    std::vector<TScheda> block;
    std::size_t next = 0;
    while (next < positions.size()) {
        const int first = positions[next];
        // The chosen cards a transfer that starts at this one holds.
        std::size_t last = next;
        while (last + 1 < positions.size() && positions[last + 1] - first < blockCards)
            ++last;
        archive.seek(first - 1);
        const int read = archive.readBlock(block, positions[last] - first + 1);
        for (; next <= last; ++next) {
            const int offset = positions[next] - first;
            if (offset >= read)
                throw ArchiveError(u"La scheda %1 non c'è più nell'archivio."_s.arg(positions[next]));
            card(block[std::size_t(offset)], positions[next]);
        }
    }
}

} // namespace CardChoice
