// The information window: what the program is and who makes it, with a link that writes a new mail to
// the maker's information address.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class InfoWindow;
}

class InfoWindow final : public QDialog {
    Q_OBJECT

public:
    explicit InfoWindow(QWidget* parent = nullptr);
    ~InfoWindow() override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::InfoWindow> ui;
};
