// The copyright window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSplash;
}

class TfrmSplash final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

private:
    std::unique_ptr<Ui::TfrmSplash> ui;
};
