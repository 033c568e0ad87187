// The copyright window: the maker's banner with its copyright line, and a link to the maker's web site.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmSplash;
}

class TfrmSplash final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmSplash(QWidget* parent = nullptr);
    ~TfrmSplash() override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::TfrmSplash> ui;
};
