// The status line's hints. While the pointer moves over a command with a hint, the status line shows
// that hint; over the window itself or one of its background areas it is emptied; over any other
// control (edit fields, pictures and shapes without a hint) it stays as it is. A label that is not
// listed lets the pointer through to whatever lies under it on the screen: the shape it is drawn on,
// which is not always the panel that holds it.
#pragma once

#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QSet>

class StatusHints final : public QObject {
public:
    // statusLine lies in window; both outlive this object, which the window owns.
    StatusHints(QWidget* window, QLabel* statusLine);

    void addHint(QWidget* control, const QString& hint);
    void addClearingArea(QWidget* area);

    // Starts following the pointer over the window and every control it holds now.
    void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pointerAt(QPoint at);
    QWidget* controlAt(QWidget* parent, QPoint at) const;
    bool letsThrough(const QWidget* widget) const;

    QWidget* m_window;
    QPointer<QLabel> m_status;
    QHash<const QWidget*, QString> m_hints;
    QSet<const QWidget*> m_clearing;
};
