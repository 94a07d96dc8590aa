#pragma once

#include "app/backgroundjpg.h"
#include "framework/canvas.h"
#include "framework/editfield.h"
#include "framework/picturecapture.h"
#include "message/window1.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QScreen>
#include <QString>
#include <QTest>

// Helpers for tests of the main window on the offscreen platform.
namespace MessageWindow {

// What "Save Message" says.
inline const QString kMessageSaved = QStringLiteral("Message was saved!");
inline const QString kSaveFailed = QStringLiteral("Save Failed!");

// Closes any main window and shows a new one, exposed.
inline Window1 *openFresh()
{
    if (Window1 *old = Window1::openInstance()) {
        old->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Window1 *window = Window1::instance();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("main window not exposed");
    return window;
}

// The picture area as the program captures it.
inline QImage captured(Window1 *window)
{
    return capturePicture(window->content(), window->Canvas1->geometry());
}

// The picture area as the screen shows it now, without painting it again.
inline QImage onScreen(Window1 *window)
{
    const QPoint at = window->Canvas1->mapTo(window, QPoint(0, 0));
    return window->screen()
        ->grabWindow(window->winId(), at.x(), at.y(), 560, 130)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

inline void enterSeeSecret(Window1 *window)
{
    const QPointF inside(10, 10);
    QEnterEvent enter(inside, window->Filter1->mapTo(window, inside),
                      window->Filter1->mapToGlobal(inside));
    QCoreApplication::sendEvent(window->Filter1, &enter);
}

inline void leaveSeeSecret(Window1 *window)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(window->Filter1, &leave);
}

// A key press carrying text, as a keyboard or an input method delivers it.
inline void type(QWidget *field, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, text, Qt::NoModifier);
}

inline bool isNearWhite(QRgb pixel)
{
    return qRed(pixel) > 251 && qGreen(pixel) > 251 && qBlue(pixel) > 251 &&
           (pixel & 0xffffff) != 0xffffff;
}

inline int count(const QImage &picture, QRect within, bool (*test)(QRgb))
{
    within &= picture.rect();
    int n = 0;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            n += test(picture.pixel(x, y)) ? 1 : 0;
    return n;
}

// The smallest rectangle within which every pixel passing test lies; empty for none.
inline QRect inkRect(const QImage &picture, QRect within, bool (*test)(QRgb))
{
    within &= picture.rect();
    QRect ink;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            ink |= test(picture.pixel(x, y)) ? QRect(x, y, 1, 1) : QRect();
    return ink;
}

inline bool isBlack(QRgb pixel)
{
    return (pixel & 0xffffff) == 0;
}

inline bool isWhite(QRgb pixel)
{
    return (pixel & 0xffffff) == 0xffffff;
}

inline bool isDark(QRgb pixel)
{
    return qRed(pixel) < 128 && qGreen(pixel) < 128 && qBlue(pixel) < 128;
}

} // namespace MessageWindow
