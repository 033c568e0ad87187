// What the card preview and card print windows share: a fixed dialog on the blue gradient, the photo
// the page will carry (copied from the record editor when the window is shown, with imgTemp standing in
// when the editor has none), and the button that runs the print job to the window's output and closes.
#pragma once

#include "output/windows/CardPrintJob.h"

#include <QDialog>

class Picture;
class QPushButton;

class CardPrintWindow : public QDialog {
    Q_OBJECT

public:
    // The photo the page will carry (imgLogo).
    const QImage& photo() const { return m_job.photo(); }

protected:
    CardPrintWindow(QWidget* parent, CardPrintJob::Output output, QString failureMessage);
    // Called once the window's own controls exist.
    void setUpControls(const QString& caption, Picture* standIn, QPushButton* run, QPushButton* cancel);

    void showEvent(QShowEvent* event) override;

private:
    void runClick();

    CardPrintJob::Output m_output;
    QString m_failureMessage;
    Picture* m_standIn = nullptr;
    CardPrintJob m_job;
};
