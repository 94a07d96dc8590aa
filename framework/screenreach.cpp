#include "framework/screenreach.h"

#include <algorithm>
#include <cmath>

namespace {

// The span [from, from + length) moved the least to lie within [low, high), or to start at
// low where it is longer.
qint64 clampSpan(qint64 from, qint64 length, qint64 low, qint64 high)
{
    return std::max(low, std::min(from, high - length));
}

} // namespace

std::optional<QPoint> reachableTitleBar(qint64 left, qint64 top, QSize size,
                                        const QList<QRect> &areas)
{
    const qint64 width = size.width(), height = size.height();
    const qint64 grab = std::min<qint64>(kGrabWidth, width);
    for (const QRect &area : areas) {
        const qint64 areaRight = qint64(area.left()) + area.width();
        const qint64 areaBottom = qint64(area.top()) + area.height();
        const qint64 onArea =
            std::min(left + width, areaRight) - std::max<qint64>(left, area.left());
        if (top >= area.top() && top + height <= areaBottom && onArea >= grab)
            return std::nullopt;
    }

    std::optional<QPoint> nearest;
    double shortest = INFINITY;
    for (const QRect &area : areas) {
        const qint64 x = clampSpan(left, width, area.left(), qint64(area.left()) + area.width());
        const qint64 y = clampSpan(top, height, area.top(), qint64(area.top()) + area.height());
        const double distance = std::hypot(double(x - left), double(y - top));
        if (distance < shortest) {
            shortest = distance;
            nearest = QPoint(int(x), int(y));
        }
    }
    return nearest;
}
