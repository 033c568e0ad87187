// The login window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmPassword;
}

class TfrmPassword final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmPassword(QWidget* parent = nullptr);
    ~TfrmPassword() override;

private:
    std::unique_ptr<Ui::TfrmPassword> ui;
};
