#include "ui/CommandKeys.h"

#include "ui/Picture.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QShortcut>

namespace {

// Sits in front of a window's edit fields and keeps them from claiming the window's bound keys.
class FieldKeyGuard final : public QObject {
public:
    static constexpr char16_t kName[] = u"CommandKeys.FieldKeyGuard";

    explicit FieldKeyGuard(QObject* parent)
        : QObject(parent) {
        setObjectName(QString::fromUtf16(kName));
    }

    void add(const QKeySequence& key) { m_keys.append(key); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return false;
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        // Left unaccepted, the override lets the window's shortcut take the key.
        return m_keys.contains(pressed);
    }

private:
    QList<QKeySequence> m_keys;
};

FieldKeyGuard* guardOf(QWidget* window) {
    auto* guard = dynamic_cast<FieldKeyGuard*>(
        window->findChild<QObject*>(QString::fromUtf16(FieldKeyGuard::kName), Qt::FindDirectChildrenOnly));
    if (!guard) {
        guard = new FieldKeyGuard(window);
        for (QLineEdit* field : window->findChildren<QLineEdit*>())
            field->installEventFilter(guard);
    }
    return guard;
}

} // namespace

namespace CommandKeys {

void bind(QWidget* window, Picture* button, const QKeySequence& key, const QString& hint) {
    auto* shortcut = new QShortcut(key, window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, &Picture::click);
    guardOf(window)->add(key);
    button->setKeyboardReachable(true);
    button->setToolTip(QStringLiteral("%1 (%2)").arg(hint, keyText(key)));
}

QString keyText(const QKeySequence& key) {
    static const std::pair<const char16_t*, const char16_t*> italian[] = {
        {u"Shift", u"Maiusc"}, {u"PgUp", u"Pag\u2191"}, {u"PgDown", u"Pag\u2193"}, {u"Home", u"Inizio"},
        {u"End", u"Fine"},     {u"Del", u"Canc"},       {u"Ins", u"Ins"},
    };
    QStringList parts = key.toString(QKeySequence::PortableText).split(u'+');
    for (QString& part : parts) {
        for (const auto& [english, name] : italian) {
            if (part == QStringView(english))
                part = QString::fromUtf16(name);
        }
    }
    return parts.join(u'+');
}

} // namespace CommandKeys
