// A picture drawn from SVG artwork at whatever size and device pixel ratio it is shown, so it stays
// crisp. A clickable picture shows the hand pointer and reports a click: a press and a release
// inside it with the left button.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

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
    // True when the artwork was found and parsed.
    bool isLoaded() const { return m_renderer.isValid(); }
    // The artwork drawn at the picture's own size on white, as an image.
    QImage toImage() const;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_source;
    mutable QSvgRenderer m_renderer; // rendering changes no state we keep
    bool m_clickable = false;
    bool m_pressed = false;
};
