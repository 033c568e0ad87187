#include "output/windows/CardOutputWindow.h"

#include "base/ProcessFormats.h"
#include "ui/DialogKeys.h"
#include "ui/Messages.h"
#include "ui/Picture.h"
#include "ui/WindowFrame.h"

#include <QPushButton>
#include <QShowEvent>

CardOutputWindow::CardOutputWindow(QWidget* parent, CardPrintJob::Output output, QString failureMessage)
    : QDialog(parent)
    , m_output(output)
    , m_failureMessage(std::move(failureMessage)) {
    ProcessFormats::apply();
}

void CardOutputWindow::setUpControls(const QString& caption, Picture* standIn, QPushButton* run,
                                    QPushButton* cancel) {
    m_standIn = standIn;
    setWindowTitle(caption);
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, QColor(66, 122, 168), WindowFrame::kWhite);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(run, &QPushButton::clicked, this, &CardOutputWindow::runClick);
    // The window opens on the button it is for, which Return presses; Escape leaves as "Annulla" does.
    run->setFocus();
    DialogKeys::install(this, {run}, {cancel});
}

void CardOutputWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        m_job.setCard(m_card, m_standIn->toImage());
}

void CardOutputWindow::runClick() {
    try {
        m_job.run(m_output, this);
    } catch (const std::exception&) {
        // The answer changes nothing: the window closes either way.
        MessageBox(m_failureMessage, MsgKind::Warning, MsgButtons::OkCancel);
    }
    accept();
}
