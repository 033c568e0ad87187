#include "StatusHints.h"

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
    const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
    QWidget* under = m_window->childAt(m_window->mapFromGlobal(global));
    if (!under)
        under = m_window;
    if (widget == under)
        pointerAt(under);
    return false;
}

void StatusHints::pointerAt(QWidget* under) {
    for (QWidget* w = under; w; w = w->parentWidget()) {
        if (auto hint = m_hints.constFind(w); hint != m_hints.constEnd()) {
            m_status->setText(*hint);
            return;
        }
        if (w == m_window || m_clearing.contains(w)) {
            m_status->setText(QString());
            return;
        }
        // A label lets the pointer through to what lies under it; any other control keeps the line.
        if (!qobject_cast<QLabel*>(w))
            return;
    }
}
