// The spreadsheet export window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmExpBookZudid;
}

class TfrmExpBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmExpBookZudid(QWidget* parent = nullptr);
    ~TfrmExpBookZudid() override;

private:
    std::unique_ptr<Ui::TfrmExpBookZudid> ui;
};
