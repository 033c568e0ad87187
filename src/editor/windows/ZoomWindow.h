// The zoom window: a card's photo as large as the screen allows, never enlarged, or at its actual size
// (one pixel of the photo on one pixel of the screen) to judge its sharpness, moved about with the
// mouse or the arrow keys. Space, the keys 1 and 0 and the mouse wheel switch between the two; a click
// on the photo, or Escape, closes it.
#pragma once

#include <QDialog>
#include <QPointF>

#include <memory>
#include <optional>

namespace Ui {
class ZoomWindow;
}
class CardPhoto;
class PhotoView;
class QLabel;

class ZoomWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ZoomWindow(QWidget* parent = nullptr);
    ~ZoomWindow() override;

    void setPhoto(const CardPhoto& photo);
    PhotoView* photoFrame() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The photo at its actual size, the point of it drawn at `at` (a point of the photo area) staying
    // there.
    void showActualSize(QPointF at);
    void showFitted();
    void wheelTurned(QWheelEvent* event, QPointF at);
    void updateCursor();
    // A press, move or release of the mouse on the photo area, at a point of the screen.
    bool mouseOnPhoto(QEvent* event);

    std::unique_ptr<Ui::ZoomWindow> ui;
    QLabel* m_keys = nullptr;           // the hint under the photo area
    std::optional<QPointF> m_pressedAt; // where the left button went down on the photo area (screen)
    QPointF m_lastAt;                   // where a drag last moved the photo to (screen)
    bool m_dragging = false;
};
