// The change-password window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmCambiaPassword;
}

class TfrmCambiaPassword final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCambiaPassword(QWidget* parent = nullptr);
    ~TfrmCambiaPassword() override;

private:
    std::unique_ptr<Ui::TfrmCambiaPassword> ui;
};
