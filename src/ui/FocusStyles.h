// How an edit field shows that it has the focus.
// Style A colours the field's own background: pale blue (AliceBlue) at rest and from the moment the
// field is first laid out, yellow while it has the focus, always inside a sky-blue border.
// Style B shows a yellow frame (the "eff" companion) 4 units larger than the field on every side while
// the field has the focus, and hides it otherwise.
#pragma once

#include <QColor>
#include <QWidget>

namespace FocusStyles {

inline const QColor kRest{0xF0, 0xF8, 0xFF};    // AliceBlue
inline const QColor kFocused{0xFF, 0xFF, 0x00}; // Yellow
inline const QColor kBorder{0x87, 0xCE, 0xEB};  // SkyBlue

void applyStyleA(QWidget* field);

// The fill that style A last gave the field.
QColor styleAFill(const QWidget* field);

// Makes the frame named frameName behind the field, hidden, and shows it while the field has the focus.
QWidget* applyStyleB(QWidget* field, const QString& frameName);

} // namespace FocusStyles
