#include "ui/WindowFrame.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace WindowFrame {

namespace {

class FixedDialogBehaviour final : public QObject {
public:
    FixedDialogBehaviour(QDialog* window, Centre centre)
        : QObject(window)
        , m_centre(centre) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* window = static_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show) {
            centre(window);
        } else if (event->type() == QEvent::KeyPress) {
            // Escape never closes a fixed dialog by itself: it is left through its own buttons, which
            // DialogKeys presses for Escape before this sees the key.
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
                return true;
        }
        return false;
    }

private:
    void centre(QWidget* window) const {
        QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        QRect area;
        if (m_centre == Centre::Owner && owner && owner->isVisible())
            area = owner->frameGeometry();
        else if (QScreen* screen = (owner ? owner->screen() : window->screen()))
            area = screen->availableGeometry();
        if (area.isEmpty())
            return;
        QRect frame = window->frameGeometry();
        frame.moveCenter(area.center());
        window->move(frame.topLeft());
    }

    Centre m_centre;
};

class GradientPainter final : public QObject {
public:
    GradientPainter(QWidget* window, const QColor& top, const QColor& bottom)
        : QObject(window)
        , m_top(top)
        , m_bottom(bottom) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* window = static_cast<QWidget*>(watched);
            QPainter painter(window);
            QLinearGradient gradient(0, 0, 0, window->height());
            gradient.setColorAt(0, m_top);
            gradient.setColorAt(1, m_bottom);
            painter.fillRect(window->rect(), gradient);
        }
        return false;
    }

private:
    QColor m_top;
    QColor m_bottom;
};

} // namespace

void makeFixedDialog(QDialog* window, Centre centre) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setFixedSize(window->size());
    window->setSizeGripEnabled(false);
    window->installEventFilter(new FixedDialogBehaviour(window, centre));
    // Return in an edit field moves the focus along its chain; it must never press a button. The
    // button Return presses is chosen by DialogKeys, not by the dialog's own default.
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void makeMaximised(QWidget* window, QWidget* panel) {
    if (panel) {
        panel->setFixedSize(panel->size());
        auto* layout = new QGridLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(panel, 0, 0, Qt::AlignCenter);
    }
    window->setWindowState(Qt::WindowMaximized);
}

void makeMaximisedPicture(QWidget* window, QWidget* panel, QWidget* picture) {
    // Sized before the window is first shown: a panel that grows while a window manager maps the window
    // takes the window out of its maximised state, half off the screen.
    const QSize area = (window->screen()->size() - QSize(60, 90)).expandedTo(QSize(1, 1));
    panel->resize(area);
    picture->setGeometry(QRect(QPoint(0, 0), area));
    makeMaximised(window, panel);
}

void setGradient(QWidget* window, const QColor& top, const QColor& bottom) {
    window->installEventFilter(new GradientPainter(window, top, bottom));
}

} // namespace WindowFrame
