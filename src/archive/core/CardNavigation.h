// The four moves through a book's cards: first, previous, next and last. Each move is one user
// operation on the archive: it opens the file, reads at most the one record it needs and closes it,
// so its cost does not grow with the book. A move never wraps around at either end.
#pragma once

#include "archive/core/TScheda.h"

#include <QString>

#include <optional>

namespace CardNavigation {

enum class Move { First, Previous, Next, Last };

struct Outcome {
    enum Kind {
        Show,  // show `card` as the card at `position`
        Empty, // the archive holds no card
        Stay,  // nothing happens (the end of the book in the direction of the move)
    } kind = Stay;
    TScheda card;
    int position = 0;
};

// Carries out a move from the current position (nothing for a new card). Throws ArchiveError when the
// archive cannot be opened, read or closed; the archive is closed on every path.
Outcome move(Move move, const QString& archivePath, std::optional<int> current);

// Goes straight to the card at a position (1 is the first card), as a card chosen on a list: Show,
// or Stay when the book no longer holds that card. Throws ArchiveError as move() does.
Outcome goTo(const QString& archivePath, int position);

} // namespace CardNavigation
