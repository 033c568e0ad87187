// What the card preview and card print windows share: a fixed dialog on the blue gradient, the card the
// opener hands over before showing the window (its texts, its book's name and its photo, with imgTemp
// standing in for a card without a photo), and the button that runs the print job to the window's
// output and closes.
#pragma once

#include "output/windows/CardPrintJob.h"

#include <QDialog>

class Picture;
class QPushButton;

class CardOutputWindow : public QDialog {
    Q_OBJECT

public:
    // The card the page will carry; the opener sets it before showing the window.
    void setCard(CardPage::Values card) { m_card = std::move(card); }

    // The photo the page will carry (imgLogo), once the window is shown.
    const QImage& photo() const { return m_job.photo(); }

protected:
    CardOutputWindow(QWidget* parent, CardPrintJob::Output output, QString failureMessage);
    // Called once the window's own controls exist.
    void setUpControls(const QString& caption, Picture* standIn, QPushButton* run, QPushButton* cancel);

    void showEvent(QShowEvent* event) override;

private:
    void runClick();

    CardPrintJob::Output m_output;
    QString m_failureMessage;
    Picture* m_standIn = nullptr;
    CardPage::Values m_card;
    CardPrintJob m_job;
};
