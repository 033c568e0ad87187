#include "app/InfoWindow.h"
#include "ui_InfoWindow.h"

#include "base/Maker.h"
#include "base/Version.h"
#include "ui/DialogKeys.h"
#include "ui/LinkText.h"
#include "ui/OpenURL.h"
#include "ui/WindowFrame.h"

using namespace Qt::StringLiterals;

namespace {

QString details() {
    const QString product = QString::fromUtf16(Maker::kProductName);
    return u"<p style='font-size:15pt; font-weight:bold; color:#2F5F8A'>%1</p>"
           u"<p>Il software per fotografi professionisti e agenzie di moda che realizzano e custodiscono "
           u"il book fotografico di ogni modella.</p>"
           u"<p>Con %1 si creano i book fotografici, si compilano le schede di ogni scatto con la foto e "
           u"i relativi dati, si allegano documenti, si cercano le schede, se ne stampano le pagine, si "
           u"esporta il testo in un foglio di Microsoft Excel e si guardano le foto in uno Slide Show a "
           u"schermo intero.</p>"
           u"<p>Tutti gli archivi restano nella cartella del programma: basta copiarla per avere una "
           u"copia di sicurezza completa.</p>"
           u"<p>Versione %4<br>%2<br>Sito web: %3</p>"
           u"<p>Per richiedere informazioni fai clic sull'indirizzo qui sotto.</p>"_s.arg(
               product, QString::fromUtf16(Maker::kCopyrightNotice), QString::fromUtf16(Maker::kWebAddress),
               Version::text());
}

} // namespace

InfoWindow::InfoWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::InfoWindow>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Informazioni su Lumivera"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(Qt::black), WindowFrame::kWhite);
    ui->lblDettagli->setText(details());
    ui->lnkWeb->setText(QString::fromUtf16(Maker::kInfoAddress));
    LinkText::attach(ui->lnkWeb, ui->imgEmail, [this] { lnkWebClick(); });
    // Only the address itself answers the mouse, not the empty room beside it.
    ui->lnkWeb->adjustSize();
    connect(ui->btnChiudi, &QPushButton::clicked, this, &QDialog::accept);
    DialogKeys::install(this, {ui->btnChiudi}, {ui->btnChiudi});
}

InfoWindow::~InfoWindow() = default;

// The mail text goes to the desktop as typed, blanks and colon included, and in quotes so that it
// reaches the mail program as one piece; the desktop turns it into a new mail with subject and body.
void InfoWindow::lnkWebClick() {
    const QString mail =
        u"mailto:"_s + QString::fromUtf16(Maker::kInfoAddress) +
        u"?subject=Software Lumivera"
        u"&body=Salve, desidererei avere le seguenti informazioni sul software in oggetto:"_s;
    TMisc::Open(u'"' + mail + u'"');
}
