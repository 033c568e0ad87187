#include "editor/windows/CalendarWindow.h"
#include "ui_CalendarWindow.h"

#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "ui/DialogKeys.h"
#include "ui/WindowFrame.h"

CalendarWindow::CalendarWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::CalendarWindow>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Importazione data"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    ui->calAppuntamenti->setSelectedDate(Clock::today());
    ui->calAppuntamenti->setFocus();

    connect(ui->btnImportaData, &QPushButton::clicked, this, &CalendarWindow::btnImportaDataClick);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    // Return on a day and a double-click on it import it, as "Importa" does; Escape leaves as "Annulla".
    connect(ui->calAppuntamenti, &QCalendarWidget::activated, this, &CalendarWindow::btnImportaDataClick);
    DialogKeys::install(this, {ui->btnImportaData}, {ui->btnAnnulla});
}

CalendarWindow::~CalendarWindow() = default;

void CalendarWindow::setDate(QDate date) {
    QCalendarWidget* calendar = ui->calAppuntamenti;
    if (date.isValid() && date >= calendar->minimumDate() && date <= calendar->maximumDate())
        calendar->setSelectedDate(date);
}

QDate CalendarWindow::date() const {
    return ui->calAppuntamenti->selectedDate();
}

void CalendarWindow::btnImportaDataClick() {
    if (m_opener == Opener::Editor)
        accept();
}
