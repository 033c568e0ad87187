#include "FitRule.h"

#include <algorithm>
#include <cmath>

namespace FitRule {

QRect fit(QSize picture, QSize frame) {
    if (picture.isEmpty() || frame.isEmpty())
        return {};
    const double r =
        std::max(double(picture.width()) / frame.width(), double(picture.height()) / frame.height());
    const double w = r >= 1 ? picture.width() / r : picture.width();
    const double h = r >= 1 ? picture.height() / r : picture.height();
    const double x = (frame.width() - w) / 2;
    const double y = (frame.height() - h) / 2;
    const int left = int(std::lround(x));
    const int top = int(std::lround(y));
    const int right = int(std::lround(x + w));
    const int bottom = int(std::lround(y + h));
    return QRect(left, top, right - left, bottom - top);
}

} // namespace FitRule
