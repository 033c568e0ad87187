#include "ui/FieldStart.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace FieldStart {

namespace {

class FieldStartKeeper final : public QObject {
public:
    explicit FieldStartKeeper(QLineEdit* field)
        : QObject(field)
        , m_field(field) {
        // A change the user makes is announced as an edit just before the change itself; any other
        // change is a text the program put in.
        connect(field, &QLineEdit::textEdited, this, [this] { m_edited = true; });
        connect(field, &QLineEdit::textChanged, this, [this] {
            if (!m_edited)
                m_field->setCursorPosition(0);
            m_edited = false;
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A field being destroyed loses the focus too, once it is no longer a line edit.
        if (event->type() != QEvent::FocusOut || !qobject_cast<QLineEdit*>(watched))
            return false;
        switch (static_cast<QFocusEvent*>(event)->reason()) {
        case Qt::ActiveWindowFocusReason: // another window or program, a message box
        case Qt::PopupFocusReason:        // the field's own menu
            break;
        default:
            m_field->setCursorPosition(0);
        }
        return false;
    }

private:
    QLineEdit* m_field;
    bool m_edited = false;
};

} // namespace

void install(QLineEdit* field) {
    field->installEventFilter(new FieldStartKeeper(field));
}

} // namespace FieldStart
