// The window that prints the card on an A4 page, with the card its opener hands over.
#pragma once

#include "output/windows/CardPrintWindow.h"

#include <memory>

namespace Ui {
class TfrmStampaBookZudid;
}

class TfrmStampaBookZudid final : public CardPrintWindow {
    Q_OBJECT

public:
    explicit TfrmStampaBookZudid(QWidget* parent = nullptr);
    ~TfrmStampaBookZudid() override;

    static QString failureMessage();

private:
    std::unique_ptr<Ui::TfrmStampaBookZudid> ui;
};
