#include "ui/ReturnChain.h"

#include <QKeyEvent>
#include <QPointer>

namespace ReturnChain {

namespace {

class ReturnKey final : public QObject {
public:
    ReturnKey(QWidget* field, std::variant<QWidget*, std::function<void()>> next)
        : QObject(field)
        , m_next(std::move(next)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        const QPointer<QObject> field = watched;
        if (auto* target = std::get_if<QWidget*>(&m_next))
            (*target)->setFocus(Qt::OtherFocusReason);
        else
            std::get<std::function<void()>>(m_next)();
        // The field still sees the key, as every key it gets, but nothing beyond it does: the window
        // would otherwise take a Return the field leaves alone for its own (DialogKeys). Filters
        // installed on the field before this one are passed by.
        if (field)
            field->event(event);
        event->accept(); // a key left ignored would go on to the window all the same
        return true;
    }

private:
    std::variant<QWidget*, std::function<void()>> m_next;
};

} // namespace

void install(std::initializer_list<Link> chain) {
    for (const Link& link : chain)
        link.field->installEventFilter(new ReturnKey(link.field, link.next));
}

} // namespace ReturnChain
