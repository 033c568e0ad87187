#include "ui/DialogKeys.h"

#include "ui/Picture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include <vector>

namespace DialogKeys {

namespace {

using Buttons = std::vector<QPointer<QWidget>>;

// Presses a push button or a clickable picture as a click of the mouse does.
void press(QWidget* button) {
    if (auto* push = qobject_cast<QAbstractButton*>(button))
        push->click();
    else if (auto* picture = qobject_cast<Picture*>(button))
        picture->click();
}

QWidget* firstAvailable(const Buttons& buttons) {
    for (const QPointer<QWidget>& button : buttons) {
        if (button && button->isVisible() && button->isEnabled())
            return button;
    }
    return nullptr;
}

// A key held down repeats: the first press did the work, and the window it led to, or a message it
// showed, must not take the repeats for a second press.
bool answer(QKeyEvent* key, QWidget* button) {
    if (!button)
        return false;
    if (!key->isAutoRepeat())
        press(button);
    return true;
}

class WindowKeys final : public QObject {
public:
    WindowKeys(QWidget* window, Buttons returnPresses, Buttons escapePresses)
        : QObject(window)
        , m_window(window)
        , m_return(std::move(returnPresses))
        , m_escape(std::move(escapePresses)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return answer(key, pressedByReturn());
        case Qt::Key_Escape:
            return answer(key, firstAvailable(m_escape));
        default:
            return false;
        }
    }

private:
    // The button that has the focus answers Return itself, as the user looking at it expects.
    QWidget* pressedByReturn() const {
        QWidget* focused = QApplication::focusWidget();
        auto* button = qobject_cast<QAbstractButton*>(focused);
        if (button && m_window->isAncestorOf(button) && button->isEnabled())
            return button;
        return firstAvailable(m_return);
    }

    QWidget* m_window;
    Buttons m_return;
    Buttons m_escape;
};

class CommandKey final : public QObject {
public:
    CommandKey(QWidget* where, Qt::Key key, QWidget* button)
        : QObject(where)
        , m_key(key)
        , m_button(button) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != m_key || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        return answer(key, firstAvailable({m_button}));
    }

private:
    Qt::Key m_key;
    QPointer<QWidget> m_button;
};

Buttons buttons(std::initializer_list<QWidget*> list) {
    Buttons kept;
    for (QWidget* button : list)
        kept.emplace_back(button);
    return kept;
}

} // namespace

void install(QWidget* window, std::initializer_list<QWidget*> returnPresses,
             std::initializer_list<QWidget*> escapePresses) {
    window->installEventFilter(new WindowKeys(window, buttons(returnPresses), buttons(escapePresses)));
}

void bindKey(QWidget* where, Qt::Key key, QWidget* button) {
    where->installEventFilter(new CommandKey(where, key, button));
}

} // namespace DialogKeys
