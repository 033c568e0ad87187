// The launcher, the program's home screen: create a book, open a book, read the information, the
// copyright and the guide, visit the maker's web site, or end the program.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmAvvio;
}

class TfrmAvvio final : public QWidget {
    Q_OBJECT

public:
    explicit TfrmAvvio(QWidget* parent = nullptr);
    ~TfrmAvvio() override;

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

    std::unique_ptr<Ui::TfrmAvvio> ui;
};
