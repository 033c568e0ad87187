#include "BookZudid.h"
#include "ui_BookZudid.h"

#include "Avvio.h"
#include "BookArchive.h"
#include "FocusStyles.h"
#include "Guida.h"
#include "Messages.h"
#include "PhotoFrame.h"
#include "PhotoStore.h"
#include "ProcessFormats.h"
#include "ReturnChain.h"
#include "StatusHints.h"
#include "TextRules.h"
#include "WindowFrame.h"
#include "Windows.h"

#include <QCloseEvent>

using CardNavigation::Move;

TfrmBookZudid::TfrmBookZudid(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TfrmBookZudid>()) {
    ProcessFormats::apply();
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Lumivera - Gestione book fotografico"));
    WindowFrame::makeMaximised(this, ui->panContainer);
    WindowFrame::setGradient(this, WindowFrame::kSteelBlue, WindowFrame::kWhite);

    // The fields hold no more than the card's fields can store.
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f) {
        fields[f]->setMaxLength(TScheda::layout(TScheda::Field(f)).capacity);
        FocusStyles::applyStyleA(fields[f]);
    }
    ReturnChain::install({
        {ui->txtTitolo, ui->txtDescrizione},
        {ui->txtDescrizione, ui->txtData},
        {ui->txtLocation, ui->txtFotografo},
        {ui->txtFotografo, ui->txtFotocamera},
        {ui->txtFotocamera, ui->txtFotoritocco},
        {ui->txtFotoritocco, ui->txtAbiti},
        {ui->txtAbiti, ui->txtAccessori},
        {ui->txtAccessori, ui->txtTrucco},
        {ui->txtTrucco, ui->txtGiudizio},
        {ui->txtGiudizio, ui->txtNote},
        {ui->txtNote, ui->txtTitolo},
    });
    installHints();

    connect(ui->cmdPrimo, &Picture::clicked, this, [this] { navigate(Move::First); });
    connect(ui->cmdIndietro, &Picture::clicked, this, [this] { navigate(Move::Previous); });
    connect(ui->cmdAvanti, &Picture::clicked, this, [this] { navigate(Move::Next); });
    connect(ui->cmdUltimo, &Picture::clicked, this, [this] { navigate(Move::Last); });
    connect(ui->cmdGuida, &Picture::clicked, this, [this] { showHelp(this, HelpTopics::bookZudid()); });
    connect(ui->cmdEsci, &Picture::clicked, this, &QWidget::close);
}

TfrmBookZudid::~TfrmBookZudid() = default;

void TfrmBookZudid::installHints() {
    auto* hints = new StatusHints(this, ui->panInfo);
    const std::pair<QWidget*, QString> commands[] = {
        {ui->cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda.")},
        {ui->cmdDuplica,
         QStringLiteral(
             "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.")},
        {ui->cmdSalva, QStringLiteral("Salva la scheda in archivio.")},
        {ui->cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {ui->cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {ui->cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {ui->cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
        {ui->cmdTrova, QStringLiteral("Trova una scheda in archivio.")},
        {ui->cmdFile, QStringLiteral("Allega file alla scheda.")},
        {ui->cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa della scheda.")},
        {ui->cmdStampa, QStringLiteral("Stampa la scheda.")},
        {ui->cmdEsporta, QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {ui->cmdSlideshow, QStringLiteral("Esegui lo Slide Show del book fotografico.")},
        {ui->cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {ui->cmdEsci, QStringLiteral("Esci da questa schermata di lavoro.")},
        {ui->btnCaricaFoto, QStringLiteral("Carica una foto esistente.")},
        {ui->btnSalvaFoto, QStringLiteral("Salva la foto su disco.")},
        {ui->btnCancFoto, QStringLiteral("Cancella la foto.")},
        {ui->btnZoomFoto, QStringLiteral("Visualizza la foto nelle sue dimensioni reali.")},
        {ui->impData, QStringLiteral("Inserisci la data corrente.")},
        {ui->txtData,
         QStringLiteral("Fai clic su questo campo e premi un tasto qualsiasi per importare una data "
                        "dal calendario.")},
    };
    for (const auto& [control, hint] : commands)
        hints->addHint(control, hint);
    for (QWidget* area : std::initializer_list<QWidget*>{
             ui->panContainer, ui->shpContainer, ui->shpEsci, ui->shpRiepiloghi, ui->shpRecord,
             ui->shpAnteprima, ui->shpStampa, ui->shpNuovo, ui->shpSezione01, ui->shpSfondo, ui->shpFoto,
             static_cast<QWidget*>(ui->imgFoto), ui->bkgPulsantiFoto})
        hints->addClearingArea(area);
    hints->install();
}

std::array<QLineEdit*, 12> TfrmBookZudid::cardFields() const {
    return {ui->txtTitolo,    ui->txtDescrizione, ui->txtData,        ui->txtLocation,
            ui->txtFotografo, ui->txtFotocamera,  ui->txtFotoritocco, ui->txtAbiti,
            ui->txtAccessori, ui->txtTrucco,      ui->txtGiudizio,    ui->txtNote};
}

PhotoFrame* TfrmBookZudid::photoFrame() const {
    return ui->imgFoto;
}

QString TfrmBookZudid::emptyArchiveMessage() {
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

void TfrmBookZudid::openBook(const QString& bookName, const QString& archivePath) {
    m_bookName = TextRules::trim(bookName);
    m_archivePath = TextRules::trim(archivePath);
    ui->lblNome->setText(m_bookName);
}

void TfrmBookZudid::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ClearCard();
}

void TfrmBookZudid::closeEvent(QCloseEvent* event) {
    Windows::frmAvvio->show();
    event->accept();
}

void TfrmBookZudid::setDateText(const QString& text) {
    ui->txtData->setText(text);
}

void TfrmBookZudid::setPosition(std::optional<int> position) {
    m_position = position;
    ui->lblPosizione->setText(position ? QString::number(*position) : QString());
}

void TfrmBookZudid::ClearCard() {
    for (QLineEdit* field : cardFields())
        field->clear();
    m_attachments.fill(QString());
    ui->imgFoto->showPlaceholder();
    setPosition(std::nullopt);
    ui->txtTitolo->setFocus();
}

void TfrmBookZudid::ShowCard(const TScheda& card, int position) {
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f)
        fields[f]->setText(card.field(TScheda::Field(f)));
    for (int a = 0; a < 6; ++a)
        m_attachments[a] = card.field(TScheda::Field(TScheda::File01 + a));
    setPosition(position);
    const CardPhoto photo = PhotoStore::LoadCardPhoto(m_bookName, position, ui->imgFoto->decodeSize());
    if (photo.isNull())
        ui->imgFoto->showPlaceholder();
    else
        ui->imgFoto->setPhoto(photo);
}

void TfrmBookZudid::navigate(Move move) {
    CardNavigation::Outcome outcome;
    try {
        outcome = CardNavigation::move(move, m_archivePath, m_position);
    } catch (const ArchiveError&) {
        showArchiveAccessMessage();
        return;
    }
    switch (outcome.kind) {
    case CardNavigation::Outcome::Show:
        m_record = outcome.card;
        ShowCard(m_record, outcome.position);
        break;
    case CardNavigation::Outcome::Empty:
        if (move == Move::Next)
            setPosition(std::nullopt);
        MessageBox(emptyArchiveMessage(), MsgKind::Information, MsgButtons::OkCancel);
        break;
    case CardNavigation::Outcome::Stay:
        break;
    }
}
