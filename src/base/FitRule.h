// How a picture is drawn in a frame: shrunk, never enlarged, keeping its proportions until it touches
// the frame's edges in one direction, centred, and its four edges rounded to whole units.
#pragma once

#include <QRect>
#include <QSize>

namespace FitRule {

// The rectangle, inside a frame of the given size, in which a picture of the given size is drawn.
QRect fit(QSize picture, QSize frame);

// The same rectangle for a picture shown as large as the frame allows: shrunk or enlarged, keeping its
// proportions, centred, edges rounded alike. The slide show draws its photos so.
QRect fill(QSize picture, QSize frame);

} // namespace FitRule
