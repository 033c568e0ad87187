// The slide show of a book's photos.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSlideshow_Zudid;
}

class TfrmSlideshow_Zudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSlideshow_Zudid(QWidget* parent = nullptr);
    ~TfrmSlideshow_Zudid() override;

private:
    std::unique_ptr<Ui::TfrmSlideshow_Zudid> ui;
};
