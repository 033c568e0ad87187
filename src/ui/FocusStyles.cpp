#include "ui/FocusStyles.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPointer>

namespace FocusStyles {

namespace {

constexpr char kFillProperty[] = "lumiveraFocusFill";

void fill(QWidget* field, const QColor& colour) {
    field->setProperty(kFillProperty, colour);
    field->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid %2;").arg(colour.name(), kBorder.name()));
}

class StyleA final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* field = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Polish:
        case QEvent::FocusOut:
            fill(field, kRest);
            break;
        case QEvent::FocusIn:
            fill(field, kFocused);
            break;
        default:
            break;
        }
        return false;
    }
};

// The yellow frame with a yellow-to-white border that lies behind a style-B field.
class FocusFrame final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QLinearGradient stroke(0, 0, 0, height());
        stroke.setColorAt(0, kFocused);
        stroke.setColorAt(1, Qt::white);
        painter.setPen(QPen(QBrush(stroke), 1));
        painter.setBrush(kFocused);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

class StyleB final : public QObject {
public:
    StyleB(QWidget* field, QWidget* frame)
        : QObject(field)
        , m_frame(frame) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // While a window is torn down its frames may go before the field that still has the focus.
        if (!m_frame)
            return false;
        if (event->type() == QEvent::FocusIn)
            m_frame->show();
        else if (event->type() == QEvent::FocusOut)
            m_frame->hide();
        return false;
    }

private:
    QPointer<QWidget> m_frame;
};

} // namespace

void applyStyleA(QWidget* field) {
    field->installEventFilter(new StyleA(field));
    if (field->testAttribute(Qt::WA_WState_Polished))
        fill(field, field->hasFocus() ? kFocused : kRest);
}

QColor styleAFill(const QWidget* field) {
    return field->property(kFillProperty).value<QColor>();
}

QWidget* applyStyleB(QWidget* field, const QString& frameName) {
    auto* frame = new FocusFrame(field->parentWidget());
    frame->setObjectName(frameName);
    frame->setGeometry(field->geometry().adjusted(-4, -4, 4, 4));
    frame->stackUnder(field);
    frame->hide();
    field->installEventFilter(new StyleB(field, frame));
    return frame;
}

} // namespace FocusStyles
