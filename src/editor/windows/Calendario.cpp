#include "editor/windows/Calendario.h"
#include "ui_Calendario.h"

#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "ui/WindowFrame.h"

TfrmCalendario::TfrmCalendario(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmCalendario>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Importazione data"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    // Always opens on today, whatever date the card holds.
    ui->calAppuntamenti->setSelectedDate(Clock::today());
    ui->calAppuntamenti->setFocus();

    connect(ui->btnImportaData, &QPushButton::clicked, this, &TfrmCalendario::btnImportaDataClick);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmCalendario::~TfrmCalendario() = default;

QDate TfrmCalendario::date() const {
    return ui->calAppuntamenti->selectedDate();
}

void TfrmCalendario::btnImportaDataClick() {
    if (m_opener == Opener::Editor)
        accept();
}
