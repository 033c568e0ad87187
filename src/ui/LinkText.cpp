#include "ui/LinkText.h"

#include <QMouseEvent>

namespace LinkText {

namespace {

void setColour(QLabel* link, const QColor& colour) {
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, colour);
    link->setPalette(palette);
}

class LinkMouse final : public QObject {
public:
    LinkMouse(QLabel* link, std::function<void()> open)
        : QObject(link)
        , m_link(link)
        , m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_pressedOn = watched;
                setColour(m_link, kOrange);
            }
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton)
                return true;
            setColour(m_link, kDarkBlue);
            auto* widget = static_cast<QWidget*>(watched);
            const bool click = m_pressedOn == watched && widget->rect().contains(mouse->position().toPoint());
            m_pressedOn = nullptr;
            if (click)
                m_open();
            return true;
        }
        return false;
    }

private:
    QLabel* m_link;
    std::function<void()> m_open;
    QObject* m_pressedOn = nullptr;
};

} // namespace

void attach(QLabel* link, QWidget* picture, std::function<void()> open) {
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    setColour(link, kDarkBlue);
    auto* mouse = new LinkMouse(link, std::move(open));
    for (QWidget* part : {static_cast<QWidget*>(link), picture}) {
        if (!part)
            continue;
        part->setCursor(Qt::PointingHandCursor);
        part->installEventFilter(mouse);
    }
}

QColor colour(const QLabel* link) {
    return link->palette().color(QPalette::WindowText);
}

} // namespace LinkText
