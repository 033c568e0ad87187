#include "ui/ReturnChain.h"

#include <QKeyEvent>

namespace ReturnChain {

namespace {

class ReturnKey final : public QObject {
public:
    ReturnKey(QWidget* field, std::variant<QWidget*, std::function<void()>> next)
        : QObject(field)
        , m_next(std::move(next)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        if (auto* target = std::get_if<QWidget*>(&m_next))
            (*target)->setFocus(Qt::OtherFocusReason);
        else
            std::get<std::function<void()>>(m_next)();
        return false;
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
