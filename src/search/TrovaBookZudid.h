// The search window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmTrovaBookZudid;
}

class TfrmTrovaBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmTrovaBookZudid(QWidget* parent = nullptr);
    ~TfrmTrovaBookZudid() override;

private:
    std::unique_ptr<Ui::TfrmTrovaBookZudid> ui;
};
