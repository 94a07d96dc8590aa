#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

// Ends the process's event loop once a top-level window has had its first paint: whatever
// is painted in that pass is finished first.
class StartupProbe final : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            if (auto *widget = qobject_cast<QWidget *>(watched); widget && widget->isWindow()) {
                m_done = true;
                QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            }
        }
        return false;
    }

private:
    bool m_done = false;
};
