// The information window: what the program is and who makes it, with a link that writes a new mail to
// the maker's information address.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmInfo;
}

class TfrmInfo final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInfo(QWidget* parent = nullptr);
    ~TfrmInfo() override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::TfrmInfo> ui;
};
