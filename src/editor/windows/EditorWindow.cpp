#include "editor/windows/EditorWindow.h"
#include "ui_EditorWindow.h"

#include "archive/core/BookArchive.h"
#include "archive/core/CardSave.h"
#include "archive/core/Cp1252.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/ArchiveMessages.h"
#include "archive/windows/PhotoView.h"
#include "base/Clock.h"
#include "base/ProcessFormats.h"
#include "base/TextRules.h"
#include "editor/windows/AttachmentsWindow.h"
#include "editor/windows/CalendarWindow.h"
#include "editor/windows/EditorHints.h"
#include "editor/windows/EditorPhoto.h"
#include "editor/windows/OverviewWindow.h"
#include "output/windows/CardPreviewWindow.h"
#include "output/windows/CardPrintWindow.h"
#include "output/windows/ExportWindow.h"
#include "output/windows/SlideShowWindow.h"
#include "search/windows/SearchWindow.h"
#include "ui/FieldStart.h"
#include "ui/FocusStyles.h"
#include "ui/GuideWindow.h"
#include "ui/Messages.h"
#include "ui/ReturnChain.h"
#include "ui/StorableTextValidator.h"
#include "ui/WindowFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSessionManager>

#include <functional>

using CardNavigation::Move;

namespace {

// Hands a field's key presses to a window's handler, which says whether it took the key.
class KeyHandler final : public QObject {
public:
    KeyHandler(QObject* parent, std::function<bool(int)> handler)
        : QObject(parent)
        , m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress && m_handler(static_cast<QKeyEvent*>(event)->key());
    }

private:
    std::function<bool(int)> m_handler;
};

} // namespace

EditorWindow::EditorWindow(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::EditorWindow>()) {
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
        FieldStart::install(fields[f]); // a long text shows its beginning
        StorableTextField::install(fields[f], Cp1252::holds, Cp1252::plainLetters, ui->panInfo);
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
    EditorHints::install(this, *ui);

    connect(ui->cmdPrimo, &Picture::clicked, this, [this] { navigate(Move::First); });
    connect(ui->cmdIndietro, &Picture::clicked, this, [this] { navigate(Move::Previous); });
    connect(ui->cmdAvanti, &Picture::clicked, this, [this] { navigate(Move::Next); });
    connect(ui->cmdUltimo, &Picture::clicked, this, [this] { navigate(Move::Last); });
    connect(ui->cmdNuovo, &Picture::clicked, this, &EditorWindow::cmdNuovoClick);
    connect(ui->cmdSalva, &Picture::clicked, this, &EditorWindow::saveCard);
    connect(ui->cmdDuplica, &Picture::clicked, this, &EditorWindow::cmdDuplicaClick);
    connect(ui->impData, &Picture::clicked, this,
            [this] { setDateText(ProcessFormats::dateText(Clock::today())); });
    ui->txtData->installEventFilter(
        new KeyHandler(ui->txtData, [this](int key) { return txtDataKeyDown(key); }));
    // After the date field's own handler, so that this filter sees Ctrl+Z first.
    for (QLineEdit* field : fields)
        field->installEventFilter(this);
    connect(ui->btnCaricaFoto, &Picture::clicked, this, &EditorWindow::loadPhoto);
    // A picture file dropped on the frame is loaded as "Carica foto" loads the file chosen.
    ui->imgFoto->acceptPictureDrops();
    connect(ui->imgFoto, &PhotoView::pictureDropped, this, [this](const QString& path) {
        if (EditorPhoto::loadFile(ui->imgFoto, path))
            fillFromPhoto(PhotoFacts::readFile(path));
    });
    connect(ui->btnSalvaFoto, &Picture::clicked, this,
            [this] { EditorPhoto::saveToFile(this, *ui->imgFoto); });
    connect(ui->btnCancFoto, &Picture::clicked, ui->imgFoto, &PhotoView::showPlaceholder);
    connect(ui->btnZoomFoto, &Picture::clicked, this, [this] { EditorPhoto::zoom(this, *ui->imgFoto); });
    connect(ui->cmdFile, &Picture::clicked, this, &EditorWindow::cmdFileClick);
    connect(ui->cmdTrova, &Picture::clicked, this, &EditorWindow::cmdTrovaClick);
    // "Provino" lies over the card's frame, below the last field.
    ui->cmdProvino->raise();
    connect(ui->cmdProvino, &Picture::clicked, this, &EditorWindow::openOverview);
    connect(ui->cmdEsporta, &Picture::clicked, this, [this] {
        openModal<ExportWindow>(this,
                                [this](ExportWindow& export_) { export_.setArchivePath(m_archivePath); });
    });
    connect(ui->cmdAnteprima, &Picture::clicked, this, [this] {
        openModal<CardPreviewWindow>(this,
                                     [this](CardPreviewWindow& preview) { preview.setCard(cardValues()); });
    });
    connect(ui->cmdStampa, &Picture::clicked, this, [this] {
        openModal<CardPrintWindow>(this, [this](CardPrintWindow& print) { print.setCard(cardValues()); });
    });
    connect(ui->cmdSlideshow, &Picture::clicked, this, [this] {
        openModal<SlideShowWindow>(
            this, [this](SlideShowWindow& show) { show.setBook(m_bookName, m_archivePath); });
    });
    connect(ui->cmdGuida, &Picture::clicked, this, [this] { showHelp(this, HelpTopics::editor()); });
    connect(ui->cmdEsci, &Picture::clicked, this, &QWidget::close);
    // The desktop session ending (the user logs out) asks as closing the window does.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!isVisible() || !hasUnsavedChanges() || !manager.allowsInteraction())
            return;
        if (settleChanges() == Settled::Stay)
            manager.cancel();
        manager.release();
    });
}

EditorWindow::~EditorWindow() = default;

std::array<QLineEdit*, 12> EditorWindow::cardFields() const {
    return {ui->txtTitolo,    ui->txtDescrizione, ui->txtData,        ui->txtLocation,
            ui->txtFotografo, ui->txtFotocamera,  ui->txtFotoritocco, ui->txtAbiti,
            ui->txtAccessori, ui->txtTrucco,      ui->txtGiudizio,    ui->txtNote};
}

PhotoView* EditorWindow::photoFrame() const {
    return ui->imgFoto;
}

QString EditorWindow::emptyArchiveMessage() {
    return QStringLiteral("L'archivio non contiene nessuna scheda.");
}

void EditorWindow::openBook(const QString& bookName, const QString& archivePath) {
    m_bookName = bookName;
    m_archivePath = archivePath;
    ui->lblNome->setText(m_bookName);
    m_photos.clear();
    if (m_overview)
        m_overview->close();
}

// Every showing by the program opens a book and starts on an empty new card. A window restored after
// being minimised is shown again by the window system (a spontaneous showing) and keeps its card.
void EditorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        clearCard();
}

void EditorWindow::closeEvent(QCloseEvent* event) {
    if (settleChanges() == Settled::Stay) {
        event->ignore();
        return;
    }
    m_photos.clear();
    if (m_overview)
        m_overview->close();
    event->accept();
    Q_EMIT closed();
}

void EditorWindow::setDateText(const QString& text) {
    ui->txtData->setText(text);
}

void EditorWindow::setPosition(std::optional<int> position) {
    m_position = position;
    ui->lblPosizione->setText(position ? QString::number(*position) : QString());
}

void EditorWindow::clearCard() {
    for (QLineEdit* field : cardFields())
        field->clear();
    m_attachments.fill(QString());
    ui->imgFoto->showPlaceholder();
    setPosition(std::nullopt);
    ui->txtTitolo->setFocus();
    rememberShown();
}

EditorWindow::Shown EditorWindow::shownNow() const {
    Shown shown;
    shown.texts = cardTexts();
    shown.placeholder = ui->imgFoto->showsPlaceholder();
    shown.photo = shown.placeholder ? 0 : ui->imgFoto->photo().display().cacheKey();
    return shown;
}

void EditorWindow::rememberShown() {
    m_shown = shownNow();
    m_photoFill.reset();
}

PhotoFacts::CardTexts EditorWindow::fieldTexts() const {
    PhotoFacts::CardTexts texts;
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f)
        texts[f] = fields[f]->text();
    return texts;
}

void EditorWindow::loadPhoto() {
    const QString loaded = EditorPhoto::load(this, ui->imgFoto);
    if (!loaded.isEmpty())
        fillFromPhoto(PhotoFacts::readFile(loaded));
}

void EditorWindow::fillFromPhoto(const PhotoFacts::Facts& facts) {
    PhotoFill fill{fieldTexts(), {}};
    fill.after = fill.before;
    const QList<TScheda::Field> filled = PhotoFacts::fillCard(fill.after, facts);
    if (filled.isEmpty())
        return;
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (TScheda::Field field : filled)
        fields[field]->setText(fill.after[field]);
    m_photoFill = fill;
    ui->panInfo->setText(filledFromPhotoMessage(filled));
}

bool EditorWindow::photoFillUndoable() const {
    return m_photoFill && fieldTexts() == m_photoFill->after;
}

void EditorWindow::undoPhotoFill() {
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f)
        if (fields[f]->text() != m_photoFill->before[f])
            fields[f]->setText(m_photoFill->before[f]);
    m_photoFill.reset();
    ui->panInfo->setText(photoFillUndoneMessage());
}

bool EditorWindow::eventFilter(QObject* watched, QEvent* event) {
    // A field takes Ctrl+Z for its own undo unless the window claims it first, at the override.
    if ((event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo) && photoFillUndoable()) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            undoPhotoFill();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void EditorWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Undo) && photoFillUndoable()) {
        undoPhotoFill();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString EditorWindow::filledFromPhotoMessage(const QList<TScheda::Field>& fields) {
    static const char16_t* const kLabels[] = {u"Titolo foto", u"Descrizione", u"Data scatto", u"Location",
                                              u"Fotografo",   u"Fotocamera",  u"Fotoritocco", u"Abiti",
                                              u"Accessori",   u"Trucco",      u"Giudizio",    u"Note"};
    QStringList labels;
    for (TScheda::Field field : fields)
        labels << QString::fromUtf16(kLabels[field]);
    return QStringLiteral("Dalla foto: %1. Ctrl+Z per annullare.").arg(labels.join(QStringLiteral(", ")));
}

QString EditorWindow::photoFillUndoneMessage() {
    return QStringLiteral("I campi riempiti dalla foto sono tornati come prima.");
}

bool EditorWindow::hasUnsavedChanges() const {
    return !(shownNow() == m_shown);
}

void EditorWindow::showCard(const TScheda& card, int position) {
    m_record = card;
    // Taken before the photo is read, so a photo replaced meanwhile counts as a change made elsewhere.
    m_seen = {card, CardSave::photoStampOf(m_bookName, position)};
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f)
        fields[f]->setText(card.field(TScheda::Field(f)));
    for (int a = 0; a < 6; ++a)
        m_attachments[a] = card.field(TScheda::Field(TScheda::File01 + a));
    setPosition(position);
    const QSize frame = ui->imgFoto->decodeSize();
    const CardPhoto photo = m_photos.load(m_bookName, position, frame);
    if (photo.isNull())
        ui->imgFoto->showPlaceholder();
    else
        ui->imgFoto->setPhoto(photo);
    // The card the user is heading to first.
    if (m_lastMove == Move::Previous || m_lastMove == Move::Last)
        m_photos.prepare(m_bookName, {position - 1, position + 1}, frame);
    else
        m_photos.prepare(m_bookName, {position + 1, position - 1}, frame);
    rememberShown();
}

void EditorWindow::navigate(Move move) {
    m_lastMove = move;
    CardNavigation::Outcome outcome;
    try {
        outcome = CardNavigation::move(move, m_archivePath, m_position);
        // Only a card about to take the screen drops the changes of the card on screen; once they
        // are saved, the move goes on from where the save left the card.
        if (outcome.kind == CardNavigation::Outcome::Show) {
            const Settled settled = settleChanges();
            if (settled == Settled::Stay)
                return;
            if (settled == Settled::Saved)
                outcome = CardNavigation::move(move, m_archivePath, m_position);
        }
    } catch (const ArchiveError&) {
        showArchiveAccessMessage();
        return;
    }
    switch (outcome.kind) {
    case CardNavigation::Outcome::Show:
        showCard(outcome.card, outcome.position);
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

QString EditorWindow::missingMessage(TScheda::Field field) {
    const QString what = field == TScheda::Titolo ? QStringLiteral("il titolo")
                         : field == TScheda::Data ? QStringLiteral("la data")
                                                  : QStringLiteral("la location");
    return QStringLiteral("Attenzione: per salvare la scheda è necessario indicare %1 della foto.").arg(what);
}

QString EditorWindow::unstorableMessage(const CardSave::Unstorable& unstorable) {
    static const char16_t* const kFields[] = {
        u"il campo Titolo foto", u"il campo Descrizione", u"il campo Data scatto", u"il campo Location",
        u"il campo Fotografo",   u"il campo Fotocamera",  u"il campo Fotoritocco", u"il campo Abiti",
        u"il campo Accessori",   u"il campo Trucco",      u"il campo Giudizio",    u"il campo Note"};
    const int field = unstorable.field;
    const QString where =
        field < TScheda::File01 ? QString::fromUtf16(kFields[field])
        : field < TScheda::Desc01
            ? QStringLiteral("il nome del %1° file allegato").arg(field - TScheda::File01 + 1)
            : QStringLiteral("la descrizione del %1° file allegato").arg(field - TScheda::Desc01 + 1);
    const char32_t c = unstorable.character;
    const QString plain = Cp1252::plainLetters(c);
    return QStringLiteral(
               "Attenzione: %1 contiene il carattere «%2», che non può essere conservato nel book: un "
               "book conserva soltanto le lettere e i segni dell'alfabeto dell'Europa occidentale.%3"
               "\r\n\r\nLa scheda non è stata salvata: correggere il testo e premere di nuovo Salva.")
        .arg(where, StorableTextValidator::shown(c),
             plain.isEmpty() ? QString() : QStringLiteral(" Al suo posto si può scrivere «%1».").arg(plain));
}

QString EditorWindow::overwrittenMessage() {
    return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
}

QString EditorWindow::appendedMessage() {
    return QStringLiteral("La scheda corrente è stata inserita in archivio.");
}

QString EditorWindow::photoNotSavedMessage() {
    return QStringLiteral(
        "Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile scrivere la "
        "sua foto nella cartella Book_Zudid.\r\n\r\nLa foto resta visualizzata: accertarsi di "
        "possedere i privilegi di scrittura nella cartella di installazione del programma e "
        "premere di nuovo Salva.");
}

QString EditorWindow::duplicateNewCardMessage() {
    return QStringLiteral(
        "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata "
        "inserita in archivio.");
}

QString EditorWindow::duplicatedMessage() {
    return QStringLiteral(
        "E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\rAl termine "
        "premere Salva per inserire la scheda in archivio.");
}

QString EditorWindow::unsavedChangesQuestion() {
    return QStringLiteral("Attenzione: la scheda corrente contiene modifiche che non sono state salvate in "
                          "archivio.\r\n\r\nSi vogliono salvare le modifiche prima di proseguire?");
}

QString EditorWindow::changedElsewhereMessage() {
    return QStringLiteral(
        "Attenzione: dopo che questa scheda è stata visualizzata, un'altra copia del programma l'ha "
        "modificata in archivio.\r\n\r\nMostra l'altra versione: visualizza la scheda come è ora in "
        "archivio (le modifiche fatte qui vanno perse).\r\nSovrascrivi: salva questa versione al posto "
        "dell'altra.\r\nAnnulla: torna alla scheda senza salvare.");
}

QString EditorWindow::goneMessage(int position) {
    return QStringLiteral(
               "Attenzione: l'archivio non contiene più la scheda %1: un'altra copia del programma lo ha "
               "sostituito con uno più breve.\r\n\r\nSi vuole inserire la scheda corrente in archivio "
               "come nuova scheda?")
        .arg(position);
}

EditorWindow::Settled EditorWindow::settleChanges() {
    if (!hasUnsavedChanges())
        return Settled::Unchanged;
    switch (MessageBox(unsavedChangesQuestion(), MsgKind::Confirmation, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return saveCard() ? Settled::Saved : Settled::Stay;
    case MsgAnswer::No:
        return Settled::Dropped;
    default:
        return Settled::Stay;
    }
}

void EditorWindow::cmdNuovoClick() {
    if (settleChanges() != Settled::Stay)
        clearCard();
}

CardSave::Texts EditorWindow::cardTexts() const {
    CardSave::Texts texts;
    const std::array<QLineEdit*, 12> fields = cardFields();
    for (int f = 0; f < 12; ++f)
        texts[f] = fields[f]->text();
    for (int a = 0; a < 6; ++a)
        texts[TScheda::File01 + a] = m_attachments[a];
    return texts;
}

CardPage::Values EditorWindow::cardValues() const {
    CardPage::Values values;
    const CardSave::Texts texts = cardTexts();
    for (std::size_t f = 0; f < CardPage::kTextCount; ++f)
        values.texts[f] = TextRules::trim(texts[f]); // as the record stores a text
    values.bookName = m_bookName;
    values.photo = ui->imgFoto->photo().full();
    return values;
}

bool EditorWindow::saveCard() {
    ui->btnFocus->setFocus(); // no edit field holds the focus during the save
    const CardSave::Texts texts = cardTexts();
    if (const std::optional<TScheda::Field> missing = CardSave::firstMissing(texts)) {
        MessageBox(missingMessage(*missing), MsgKind::Warning, MsgButtons::OkCancel);
        cardFields()[*missing]->setFocus();
        return false;
    }
    if (const std::optional<CardSave::Unstorable> unstorable = CardSave::firstUnstorable(texts)) {
        MessageBox(unstorableMessage(*unstorable), MsgKind::Warning, MsgButtons::OkCancel);
        if (unstorable->field < TScheda::File01)
            cardFields()[unstorable->field]->setFocus();
        return false;
    }
    const CardSave::Seen* expected = &m_seen;
    CardSave::Outcome outcome;
    for (;;) {
        try {
            outcome = CardSave::save(m_archivePath, m_bookName, m_position, m_record, texts,
                                     ui->imgFoto->photo(), expected);
        } catch (const ArchiveError&) {
            showArchiveAccessMessage();
            return false;
        }
        if (outcome.kind == CardSave::Outcome::Saved)
            break;
        if (outcome.kind == CardSave::Outcome::Gone) {
            if (MessageBox(goneMessage(outcome.position), MsgKind::Warning, MsgButtons::YesNo) !=
                MsgAnswer::Yes)
                return false;
            setPosition(std::nullopt); // appended as a new card
            continue;
        }
        switch (MessageBox(changedElsewhereMessage(), MsgKind::Warning, MsgButtons::ReloadOverwriteCancel)) {
        case MsgAnswer::Overwrite:
            expected = nullptr;
            continue;
        case MsgAnswer::Reload:
            try {
                const CardNavigation::Outcome other = CardNavigation::goTo(m_archivePath, outcome.position);
                if (other.kind == CardNavigation::Outcome::Show)
                    showCard(other.card, other.position);
            } catch (const ArchiveError&) {
                showArchiveAccessMessage();
            }
            return false;
        default:
            return false;
        }
    }
    const bool appended = !m_position;
    setPosition(outcome.position);
    m_seen = outcome.seen;
    m_photos.forget(m_bookName, outcome.position); // a copy prepared from the file before it was written
    // A photo that could not be written stays in the frame, so a later save can store it: the card
    // keeps counting as changed until then.
    if (outcome.photoSaved)
        rememberShown();
    MessageBox(appended ? appendedMessage() : overwrittenMessage(), MsgKind::Information,
               MsgButtons::OkCancel);
    if (!outcome.photoSaved)
        MessageBox(photoNotSavedMessage(), MsgKind::Warning, MsgButtons::OkCancel);
    return outcome.photoSaved;
}

void EditorWindow::cmdDuplicaClick() {
    if (!m_position) {
        MessageBox(duplicateNewCardMessage(), MsgKind::Warning, MsgButtons::OkCancel);
        return;
    }
    m_attachments.fill(QString());
    setPosition(std::nullopt);
    ui->imgFoto->showPlaceholder();
    ui->txtTitolo->setFocus();
    rememberShown(); // the copy counts as changed once the user changes it
    MessageBox(duplicatedMessage(), MsgKind::Information, MsgButtons::OkCancel);
}

bool EditorWindow::txtDataKeyDown(int key) {
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        ui->txtData->clear();
        return true;
    // Moving on with Tab, and modifier keys pressed on their own, are not a request for the calendar.
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return false;
    default:
        openCalendar();
        return true;
    }
}

void EditorWindow::openCalendar() {
    openModal<CalendarWindow>(
        this,
        [this](CalendarWindow& calendar) {
            calendar.setOpener(CalendarWindow::Opener::Editor);
            calendar.setDate(ProcessFormats::dateFromText(ui->txtData->text())); // the card's date
        },
        [this](const CalendarWindow& calendar) { setDateText(ProcessFormats::dateText(calendar.date())); });
}

void EditorWindow::setAttachments(const std::array<QString, 6>& values) {
    for (int a = 0; a < 6; ++a)
        m_attachments[a] = TextRules::trim(values[a]);
}

void EditorWindow::cmdFileClick() {
    openModal<AttachmentsWindow>(
        this,
        [this](AttachmentsWindow& window) {
            window.setOpener(AttachmentsWindow::Opener::Editor);
            window.setValues(m_attachments);
        },
        [this](const AttachmentsWindow& window) { setAttachments(window.values()); });
}

// A card double-clicked on the search's list is shown through the editor's own navigation; a card the
// book no longer holds, or can no longer be read, leaves the card on screen without a message.
void EditorWindow::cmdTrovaClick() {
    std::optional<int> chosen;
    openModal<SearchWindow>(
        this,
        [this](SearchWindow& search) {
            search.setArchivePath(m_archivePath);
            search.setOpener(SearchWindow::Opener::Editor);
        },
        [&chosen](const SearchWindow& search) { chosen = search.chosenPosition(); });
    if (chosen)
        showChosenCard(*chosen);
}

void EditorWindow::showChosenCard(int position) {
    if (settleChanges() == Settled::Stay)
        return;
    try {
        const CardNavigation::Outcome outcome = CardNavigation::goTo(m_archivePath, position);
        if (outcome.kind == CardNavigation::Outcome::Show)
            showCard(outcome.card, outcome.position);
    } catch (const ArchiveError&) {
    }
}

void EditorWindow::openOverview() {
    if (!m_overview) {
        m_overview = std::make_unique<OverviewWindow>();
        m_overview->placeOnScreen(screen());
        connect(m_overview.get(), &OverviewWindow::cardChosen, this, [this](int position) {
            showChosenCard(position);
            activateWindow();
            raise();
        });
    }
    if (m_overview->model().bookName() != m_bookName || !m_overview->isVisible())
        m_overview->setBook(m_bookName, m_archivePath);
    if (m_position)
        m_overview->showPosition(*m_position);
    m_overview->show();
    m_overview->raise();
    m_overview->activateWindow();
}
