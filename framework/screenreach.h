#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// How much of a title bar's width must lie on a screen for the mouse to grab it comfortably.
inline constexpr int kGrabWidth = 100;

// Where a title bar of the given size, standing at (left, top) in screen pixels, must go so
// that the user can grab it on one of the available areas. Nowhere (nullopt) while it lies
// below the top of an area with kGrabWidth pixels of its width on that area; otherwise the
// nearest place where the whole title bar lies on an area. With no area at all, nowhere.
// In 64 bits: a saved position may be any Int32, and the frame stands beyond it.
std::optional<QPoint> reachableTitleBar(qint64 left, qint64 top, QSize size,
                                        const QList<QRect> &areas);
