#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// How much of a title bar's width must lie on the screens for the mouse to grab it
// comfortably; all of it when the title bar is narrower.
inline constexpr int kGrabWidth = 100;

// Where a title bar of the given size, standing at (left, top) in screen pixels, must go so
// that the user can grab it on the available areas. Nowhere (nullopt) while kGrabWidth of its
// columns have their whole height on the areas, counted over all areas together, so that a
// seam between two screens takes nothing away; otherwise the nearest place where the whole
// title bar lies on one area. With no area at all, nowhere.
// In 64 bits: a saved position may be any Int32, and the frame stands beyond it.
std::optional<QPoint> reachableTitleBar(qint64 left, qint64 top, QSize size,
                                        const QList<QRect> &areas);
