// A picture drawn from SVG artwork at whatever size and device pixel ratio it is shown, so it stays
// crisp. A clickable picture shows the hand pointer and reports a click: a press and a release
// inside it with the left button, or Space or Return when the keyboard reaches it.
#pragma once

#include <QPixmap>
#include <QSvgRenderer>
#include <QWidget>

#include <memory>

class Picture : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString source READ source WRITE setSource)
    Q_PROPERTY(bool clickable READ isClickable WRITE setClickable)

public:
    explicit Picture(QWidget* parent = nullptr);

    QString source() const { return m_source; }
    void setSource(const QString& resource);
    bool isClickable() const { return m_clickable; }
    void setClickable(bool clickable);
    // A clickable picture that the keyboard reaches as a button: Tab stops on it, Space or Return
    // clicks it, and a frame shows while it holds the focus. A mouse click leaves the focus where it is.
    void setKeyboardReachable(bool reachable);
    // True when the artwork was found and parsed.
    bool isLoaded() const { return renderer().isValid(); }
    // The artwork drawn at the picture's own size on white, as an image.
    QImage toImage() const;
    // Runs the picture's command as a click of the mouse does (from a key); nothing when it is not
    // clickable or not enabled.
    void click();

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The parsed artwork, shared by every picture that shows the same resource and parsed the first
    // time it is needed, so windows that are made but never shown cost no parsing.
    QSvgRenderer& renderer() const;

    QString m_source;
    mutable std::shared_ptr<QSvgRenderer> m_renderer;
    QPixmap m_drawn; // the artwork at the size and pixel ratio it was last drawn
    bool m_clickable = false;
    bool m_pressed = false;
};
