#include "ui/BusyNotice.h"

#include <QEvent>
#include <QMouseEvent>

namespace BusyNotice {

namespace {

class Notice final : public QObject {
public:
    Notice(QWidget* command, QWidget* notice, QWidget* window)
        : QObject(notice)
        , m_command(command)
        , m_notice(notice)
        , m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_command && event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_notice->show();
            m_notice->repaint(); // drawn now: the click that follows keeps the event loop busy
        } else if (watched == m_window && (event->type() == QEvent::Close || event->type() == QEvent::Hide)) {
            m_notice->hide();
        }
        return false;
    }

private:
    QWidget* m_command;
    QWidget* m_notice;
    QWidget* m_window;
};

} // namespace

void install(QWidget* command, QWidget* notice, QWidget* window) {
    notice->hide();
    auto* filter = new Notice(command, notice, window);
    command->installEventFilter(filter);
    window->installEventFilter(filter);
}

} // namespace BusyNotice
