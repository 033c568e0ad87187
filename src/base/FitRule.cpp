#include "base/FitRule.h"

#include <algorithm>
#include <cmath>

namespace FitRule {

namespace {

// Where a picture of the given size, made r times smaller, lies when centred in the frame.
QRect centred(QSize picture, QSize frame, double r) {
    const double w = picture.width() / r;
    const double h = picture.height() / r;
    const double x = (frame.width() - w) / 2;
    const double y = (frame.height() - h) / 2;
    const int left = int(std::lround(x));
    const int top = int(std::lround(y));
    const int right = int(std::lround(x + w));
    const int bottom = int(std::lround(y + h));
    return QRect(left, top, right - left, bottom - top);
}

// How many times the picture is larger than the frame in its tighter direction.
double ratio(QSize picture, QSize frame) {
    return std::max(double(picture.width()) / frame.width(), double(picture.height()) / frame.height());
}

} // namespace

QRect fit(QSize picture, QSize frame) {
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    return centred(picture, frame, std::max(ratio(picture, frame), 1.0));
}

QRect fill(QSize picture, QSize frame) {
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    return centred(picture, frame, ratio(picture, frame));
}

} // namespace FitRule
