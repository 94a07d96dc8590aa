#include "framework/screenreach.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// The span [from, from + length) moved the least to lie within [low, high), or to start at
// low where it is longer.
qint64 clampSpan(qint64 from, qint64 length, qint64 low, qint64 high)
{
    return std::max(low, std::min(from, high - length));
}

// How many columns of the title bar have its whole height on the areas taken together: the
// columns the mouse can grab it by, across the seams between screens too.
qint64 columnsInReach(qint64 left, qint64 top, qint64 width, qint64 height,
                      const QList<QRect> &areas)
{
    const qint64 right = left + width, bottom = top + height;
    // Between two neighbouring edges every column lies on the same areas.
    std::vector<qint64> edges{left, right};
    for (const QRect &area : areas) {
        for (const qint64 x : {qint64(area.left()), qint64(area.left()) + area.width()}) {
            if (x > left && x < right)
                edges.push_back(x);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    qint64 columns = 0;
    std::vector<std::pair<qint64, qint64>> rows;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        const qint64 from = edges[i], to = edges[i + 1];
        rows.clear();
        for (const QRect &area : areas) {
            if (area.left() <= from && qint64(area.left()) + area.width() >= to)
                rows.emplace_back(area.top(), qint64(area.top()) + area.height());
        }
        std::sort(rows.begin(), rows.end());
        // How far down from the title bar's top the areas over these columns reach unbroken.
        qint64 reached = top;
        for (const auto &[first, end] : rows) {
            if (first > reached)
                break;
            reached = std::max(reached, end);
        }
        if (reached >= bottom)
            columns += to - from;
    }
    return columns;
}

} // namespace

std::optional<QPoint> reachableTitleBar(qint64 left, qint64 top, QSize size,
                                        const QList<QRect> &areas)
{
    const qint64 width = size.width(), height = size.height();
    if (columnsInReach(left, top, width, height, areas) >= std::min<qint64>(kGrabWidth, width))
        return std::nullopt;

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
