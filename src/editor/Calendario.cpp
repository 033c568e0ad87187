#include "Calendario.h"
#include "ui_Calendario.h"

#include "ProcessFormats.h"
#include "WindowFrame.h"

TfrmCalendario::TfrmCalendario(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmCalendario>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Importazione data"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Owner);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
}

TfrmCalendario::~TfrmCalendario() = default;
