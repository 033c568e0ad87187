// The copyright window: the maker's banner with its copyright line, and a link to the maker's web site.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class CopyrightWindow;
}

class CopyrightWindow final : public QDialog {
    Q_OBJECT

public:
    explicit CopyrightWindow(QWidget* parent = nullptr);
    ~CopyrightWindow() override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::CopyrightWindow> ui;
};
