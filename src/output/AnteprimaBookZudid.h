// The window that previews the card on an A4 page.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAnteprimaBookZudid;
}

class TfrmAnteprimaBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAnteprimaBookZudid(QWidget* parent = nullptr);
    ~TfrmAnteprimaBookZudid() override;

private:
    std::unique_ptr<Ui::TfrmAnteprimaBookZudid> ui;
};
