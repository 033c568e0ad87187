#include "ui/StatusHints.h"

#include <QEvent>
#include <QMouseEvent>

StatusHints::StatusHints(QWidget* window, QLabel* statusLine)
    : QObject(window)
    , m_window(window)
    , m_status(statusLine) {}

void StatusHints::addHint(QWidget* control, const QString& hint) {
    m_hints.insert(control, hint);
}

void StatusHints::addClearingArea(QWidget* area) {
    m_clearing.insert(area);
}

void StatusHints::install() {
    m_window->setMouseTracking(true);
    m_window->installEventFilter(this);
    for (QWidget* child : m_window->findChildren<QWidget*>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

bool StatusHints::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseMove)
        return false;
    // A move that a control leaves unhandled travels on to its parent; act once, where it arrived first.
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint at = m_window->mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    QWidget* receiver = m_window->childAt(at);
    if (!receiver)
        receiver = m_window;
    if (widget == receiver)
        pointerAt(at);
    return false;
}

bool StatusHints::letsThrough(const QWidget* widget) const {
    return qobject_cast<const QLabel*>(widget) && !m_hints.contains(widget) && !m_clearing.contains(widget);
}

// The topmost control at a point of parent, looking through labels: a label that lies on a shape shows
// that shape's behaviour, not its parent panel's.
QWidget* StatusHints::controlAt(QWidget* parent, QPoint at) const {
    const QObjectList& children = parent->children();
    for (auto it = children.crbegin(); it != children.crend(); ++it) {
        auto* child = qobject_cast<QWidget*>(*it);
        if (!child || child->isWindow() || !child->isVisible() ||
            child->testAttribute(Qt::WA_TransparentForMouseEvents) || !child->geometry().contains(at))
            continue;
        if (QWidget* inner = controlAt(child, at - child->pos()))
            return inner;
        if (!letsThrough(child))
            return child;
    }
    return nullptr;
}

void StatusHints::pointerAt(QPoint at) {
    QWidget* under = controlAt(m_window, at);
    if (!under)
        under = m_window;
    if (auto hint = m_hints.constFind(under); hint != m_hints.constEnd())
        m_status->setText(*hint);
    else if (under == m_window || m_clearing.contains(under))
        m_status->setText(QString());
    // any other control keeps the line as it is
}
