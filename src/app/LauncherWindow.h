// The launcher, the program's home screen: create a book, open a book, read the information, the
// copyright and the guide, visit the maker's web site, or end the program.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class LauncherWindow;
}

class LauncherWindow final : public QWidget {
    Q_OBJECT

public:
    explicit LauncherWindow(QWidget* parent = nullptr);
    ~LauncherWindow() override;

Q_SIGNALS:
    void createRequested();
    void openRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void btnCreaClick();
    void btnApriClick();
    void imgInfoClick();
    void imgCopyrightClick();
    void imgGuidaClick();
    void imgSitoClick();
    void imgEsciClick();

    std::unique_ptr<Ui::LauncherWindow> ui;
};
