#include "archive/core/CardNavigation.h"

#include "archive/core/BookArchive.h"

namespace CardNavigation {

namespace {

Outcome show(BookArchive& archive, int index) {
    archive.seek(index);
    Outcome outcome{Outcome::Show, archive.read(), 0};
    outcome.position = archive.position();
    archive.close();
    return outcome;
}

Outcome finish(BookArchive& archive, Outcome::Kind kind) {
    archive.close();
    return {kind, {}, 0};
}

} // namespace

Outcome move(Move move, const QString& archivePath, std::optional<int> current) {
    BookArchive archive;
    archive.open(archivePath);
    switch (move) {
    case Move::First:
        if (archive.count() == 0)
            return finish(archive, Outcome::Empty);
        return show(archive, 0);
    case Move::Last: {
        const int count = archive.count();
        if (count == 0)
            return finish(archive, Outcome::Empty);
        return show(archive, count - 1);
    }
    case Move::Next: {
        const int p = current.value_or(0);
        const int count = archive.count();
        if (count == 0)
            return finish(archive, Outcome::Empty);
        if (p < count)
            return show(archive, p);
        return finish(archive, Outcome::Stay);
    }
    case Move::Previous:
        if (current == 1)
            return finish(archive, Outcome::Stay);
        if (archive.count() == 0)
            return finish(archive, Outcome::Empty);
        // From a new card, or from card 2, the previous card is the first one.
        if (!current || *current == 2)
            return show(archive, 0);
        return show(archive, *current - 2);
    }
    return finish(archive, Outcome::Stay);
}

Outcome goTo(const QString& archivePath, int position) {
    BookArchive archive;
    archive.open(archivePath);
    if (position < 1 || position > archive.count())
        return finish(archive, Outcome::Stay);
    return show(archive, position - 1);
}

} // namespace CardNavigation
