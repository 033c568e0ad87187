// Ends the application once the first of its windows is on screen and drawn: the expose event is
// let through (the window paints while handling it), and the event loop ends right after.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWindow>

class FirstExpose final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Expose && watched->isWindowType() &&
            static_cast<QWindow*>(watched)->isExposed()) {
            m_seen = true;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_seen = false;
};
