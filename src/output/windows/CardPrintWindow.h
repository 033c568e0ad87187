// The window that prints the card on an A4 page, with the card its opener hands over.
#pragma once

#include "output/windows/CardOutputWindow.h"

#include <memory>

namespace Ui {
class CardPrintWindow;
}

class CardPrintWindow final : public CardOutputWindow {
    Q_OBJECT

public:
    explicit CardPrintWindow(QWidget* parent = nullptr);
    ~CardPrintWindow() override;

    static QString failureMessage();

private:
    std::unique_ptr<Ui::CardPrintWindow> ui;
};
