// The zoom window, which shows a card's photo as large as the screen allows.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmZoom;
}

class TfrmZoom final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmZoom(QWidget* parent = nullptr);
    ~TfrmZoom() override;

private:
    std::unique_ptr<Ui::TfrmZoom> ui;
};
