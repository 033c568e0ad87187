#include "ui/NameFieldFilter.h"

#include <QKeyEvent>
#include <QStringView>

namespace NameFieldFilter {

namespace {

constexpr QStringView kRefused = u"\"*/:<>?\\°ÇÑçñ";

class Filter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        return text.size() == 1 && refuses(text.at(0));
    }
};

} // namespace

bool refuses(QChar c) {
    return kRefused.contains(c);
}

void install(QWidget* field) {
    field->installEventFilter(new Filter(field));
}

} // namespace NameFieldFilter
