// An underlined link text and the small picture beside it, which behaves as part of the link: a press
// turns the text orange, a release dark blue again, and a click sets it dark blue and opens the target.
#pragma once

#include <QColor>
#include <QLabel>

#include <functional>

namespace LinkText {

inline const QColor kDarkBlue{0x00, 0x00, 0x8B};
inline const QColor kOrange{0xFF, 0xA5, 0x00};

// Gives the link its look (underlined, dark blue, hand pointer) and its three mouse reactions.
void attach(QLabel* link, QWidget* picture, std::function<void()> open);

QColor colour(const QLabel* link);

} // namespace LinkText
