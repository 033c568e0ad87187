// The window that prints the card on an A4 page.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmStampaBookZudid;
}

class TfrmStampaBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmStampaBookZudid(QWidget* parent = nullptr);
    ~TfrmStampaBookZudid() override;

private:
    std::unique_ptr<Ui::TfrmStampaBookZudid> ui;
};
