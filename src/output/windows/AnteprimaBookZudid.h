// The window that previews the card on an A4 page, with the card its opener hands over.
#pragma once

#include "output/windows/CardPrintWindow.h"

#include <memory>

namespace Ui {
class TfrmAnteprimaBookZudid;
}

class TfrmAnteprimaBookZudid final : public CardPrintWindow {
    Q_OBJECT

public:
    explicit TfrmAnteprimaBookZudid(QWidget* parent = nullptr);
    ~TfrmAnteprimaBookZudid() override;

    static QString failureMessage();

private:
    std::unique_ptr<Ui::TfrmAnteprimaBookZudid> ui;
};
