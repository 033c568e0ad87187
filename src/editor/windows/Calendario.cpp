#include "editor/windows/Calendario.h"
#include "ui_Calendario.h"

#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "ui/DialogKeys.h"
#include "ui/WindowFrame.h"

TfrmCalendario::TfrmCalendario(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmCalendario>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Importazione data"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    ui->calAppuntamenti->setSelectedDate(Clock::today());
    ui->calAppuntamenti->setFocus();

    connect(ui->btnImportaData, &QPushButton::clicked, this, &TfrmCalendario::btnImportaDataClick);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Return on a day and a double-click on it import it, as "Importa" does; Escape leaves as "Annulla".
    connect(ui->calAppuntamenti, &QCalendarWidget::activated, this, &TfrmCalendario::btnImportaDataClick);
    DialogKeys::install(this, {ui->btnImportaData}, {ui->btnAnnulla});
}

TfrmCalendario::~TfrmCalendario() = default;

void TfrmCalendario::setDate(QDate date) {
    QCalendarWidget* calendar = ui->calAppuntamenti;
    if (date.isValid() && date >= calendar->minimumDate() && date <= calendar->maximumDate())
        calendar->setSelectedDate(date);
}

QDate TfrmCalendario::date() const {
    return ui->calAppuntamenti->selectedDate();
}

void TfrmCalendario::btnImportaDataClick() {
    if (m_opener == Opener::Editor)
        accept();
}
