#include "editor/windows/Zoom.h"
#include "ui_Zoom.h"

#include "archive/windows/PhotoView.h"
#include "base/ProcessFormats.h"
#include "ui/WindowFrame.h"

#include <QMouseEvent>

TfrmZoom::TfrmZoom(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TfrmZoom>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"));
    setWindowFlags(Qt::Window);
    WindowFrame::makeMaximisedPicture(this, ui->panContainer, ui->imgFoto);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);
    connect(ui->imgFoto, &PhotoView::clicked, this, &QDialog::accept);
    ui->panContainer->installEventFilter(this);
}

TfrmZoom::~TfrmZoom() = default;

void TfrmZoom::setPhoto(const CardPhoto& photo) {
    ui->imgFoto->setPhoto(photo);
}

PhotoView* TfrmZoom::photoFrame() const {
    return ui->imgFoto;
}

bool TfrmZoom::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->panContainer && event->type() == QEvent::MouseButtonRelease) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
