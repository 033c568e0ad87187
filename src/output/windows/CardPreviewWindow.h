// The window that previews the card on an A4 page, with the card its opener hands over.
#pragma once

#include "output/windows/CardOutputWindow.h"

#include <memory>

namespace Ui {
class CardPreviewWindow;
}

class CardPreviewWindow final : public CardOutputWindow {
    Q_OBJECT

public:
    explicit CardPreviewWindow(QWidget* parent = nullptr);
    ~CardPreviewWindow() override;

    static QString failureMessage();

private:
    std::unique_ptr<Ui::CardPreviewWindow> ui;
};
