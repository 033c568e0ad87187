// The zoom window: a card's photo as large as the screen allows, never enlarged; a click on the photo
// closes it.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmZoom;
}
class CardPhoto;
class PhotoView;

class TfrmZoom final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmZoom(QWidget* parent = nullptr);
    ~TfrmZoom() override;

    void setPhoto(const CardPhoto& photo);
    PhotoView* photoFrame() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmZoom> ui;
};
