#include "ui/GuideWindow.h"
#include "ui_GuideWindow.h"

#include "base/ProgramFolder.h"
#include "ui/DialogKeys.h"
#include "ui/LinkText.h"
#include "ui/Messages.h"
#include "ui/OpenURL.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QScrollBar>

GuideWindow::GuideWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::GuideWindow>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Guida all'utilizzo del software"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, WindowFrame::kWhite, QColor(0xBF, 0xD8, 0xEF));
    LinkText::attach(ui->lnkWeb, ui->imgPDF, [this] { lnkWebClick(); });
    connect(ui->btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    DialogKeys::install(this, {ui->btnChiudi}, {ui->btnChiudi});
}

GuideWindow::~GuideWindow() = default;

void GuideWindow::setTopic(const HelpTopic& topic) {
    ui->lblTitolo->setText(topic.title);
    ui->txtGuida->setPlainText(topic.text());
}

void GuideWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->txtGuida->moveCursor(QTextCursor::Start);
    ui->txtGuida->verticalScrollBar()->setValue(0);
}

// The guide document is handed to the desktop as it is, in quotes so that a folder with blanks opens;
// whether it exists is the desktop's business. When the desktop cannot open it (no program reads PDF
// files), the user is told, instead of a click that does nothing.
void GuideWindow::lnkWebClick() {
    const QString guide = ProgramFolder::guide();
    if (!TMisc::Open(u'"' + QDir::toNativeSeparators(guide) + u'"'))
        MessageBox(TMisc::notOpenedMessage(guide), MsgKind::Warning, MsgButtons::Ok);
}

void showHelp(QWidget* opener, const HelpTopic& topic) {
    openModal<GuideWindow>(opener, [&](GuideWindow& guide) { guide.setTopic(topic); });
}
