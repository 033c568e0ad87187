// Every message box the program shows, reached through its own window: its text letter for letter (with
// its paragraph breaks as stored), its kind and its buttons.
#include "FakeFileDialogs.h"
#include "FakeMessages.h"
#include "FakePrinting.h"
#include "FakeShell.h"
#include "FaultyFileSystem.h"
#include "TestFiles.h"
#include "TestWindows.h"
#include "access/core/PasswordStore.h"
#include "access/windows/ChangePasswordWindow.h"
#include "access/windows/LoginWindow.h"
#include "app/Application.h"
#include "app/LauncherWindow.h"
#include "app/WindowSet.h"
#include "archive/core/AttachmentFolder.h"
#include "archive/core/PhotoStore.h"
#include "archive/windows/OpenBookWindow.h"
#include "archive/windows/CreateBookWindow.h"
#include "archive/windows/PhotoView.h"
#include "base/ProgramFolder.h"
#include "editor/windows/AttachmentsWindow.h"
#include "editor/windows/EditorWindow.h"
#include "output/core/SlideShow.h"
#include "output/windows/CardPreviewWindow.h"
#include "output/windows/ExportWindow.h"
#include "output/windows/SlideShowWindow.h"
#include "output/windows/CardPrintWindow.h"
#include "search/windows/SearchWindow.h"
#include "ui/Picture.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(MsgKind)
Q_DECLARE_METATYPE(MsgButtons)

namespace {

const QString kBook = u"Giulia"_s;
const QString kPassword = u"lucepiumavelox"_s;
const QByteArray kUndecodableStore = "[Accesso]\nValore=8F52 8413\n";

TScheda card(const QString& title) {
    TScheda c;
    c.setField(TScheda::Titolo, title);
    c.setField(TScheda::Data, u"01/03/2024"_s);
    c.setField(TScheda::Location, u"Milano"_s);
    return c;
}

void click(QWidget* window, const QString& name) {
    QTest::mouseClick(child<QWidget>(window, name), Qt::LeftButton);
}

// Types text key by key, as a keyboard would.
void type(QLineEdit* field, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

// Runs the steps in the modal window of class W that the next action opens, and closes it if the steps
// left it open.
template <class W> void inModal(std::function<void(W*)> steps, bool* ran) {
    QTimer::singleShot(0, [steps, ran] {
        auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
        QVERIFY(window);
        steps(window);
        *ran = true;
        if (window->isVisible())
            window->reject();
    });
}

} // namespace

class TestMessages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        m_dir = scratchProgramFolder();
        QVERIFY(m_dir->isValid());
        m_windows = std::make_unique<WindowSet>();
    }
    void cleanup() {
        m_windows.reset();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        m_dir.reset();
    }

    // Each row is named after the situation that shows the box; the box compared is the last one shown.
    // "<cartella>" stands for the program's folder, where the test puts it.
    void everyMessageBox_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<MsgKind>("kind");
        QTest::addColumn<MsgButtons>("buttons");
        const MsgKind warning = MsgKind::Warning, error = MsgKind::Error, info = MsgKind::Information,
                      question = MsgKind::Confirmation, plain = MsgKind::Plain;
        const MsgButtons okCancel = MsgButtons::OkCancel, yesNo = MsgButtons::YesNo, ok = MsgButtons::Ok;
        const QString archiveAccess =
            u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere i "
            u"privilegi di scrittura nella cartella di installazione del programma."_s;

        // Login and change of password.
        QTest::newRow("login: wrong password") << u"Attenzione: password errata."_s << plain << ok;
        QTest::newRow("login: store does not decode")
            << u"Attenzione: si è verificato un errore durante la procedura di lettura della password. Si "
               u"consiglia di reinstallare il software."_s
            << plain << ok;
        QTest::newRow("change: old password wrong")
            << u"Attenzione: vecchia password errata."_s << plain << ok;
        QTest::newRow("change: not confirmed")
            << u"Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
               u"reinserire entrambi i valori."_s
            << plain << ok;
        QTest::newRow("change: done") << u"Modifica della password completata con successo."_s << plain << ok;
        QTest::newRow("change: store does not decode")
            << u"Attenzione: si è verificato un errore durante la procedura di modifica della password. Si "
               u"consiglia di reinstallare il software."_s
            << plain << ok;
        QTest::newRow("change: password too long")
            << u"Attenzione: la nuova password è troppo lunga. Una password può contenere al massimo 255 "
               u"caratteri."_s
            << plain << ok;
        QTest::newRow("change: character that cannot be stored")
            << u"Attenzione: la nuova password contiene caratteri che non possono essere memorizzati, come "
               u"il "
               u"simbolo dell'euro, le virgolette tipografiche o le lettere di alfabeti non latini. Sono "
               u"ammesse le lettere, anche accentate, le cifre, gli spazi e i segni di punteggiatura più "
               u"comuni."_s
            << plain << ok;

        // Creating, opening and deleting books.
        QTest::newRow("create: no name")
            << u"Attenzione: per creare il nuovo archivio è necessario indicare il nome del nuovo book "
               u"fotografico."_s
            << warning << okCancel;
        QTest::newRow("create: name taken") << u"Attenzione: il nome del book fotografico indicato è già "
                                               u"stato utilizzato in precedenza.\r\n\r\n"
                                               u"Inserire un nome diverso oppure, se si desidera aprire un "
                                               u"book fotografico già creato, premere "
                                               u"il pulsante Apri book fotografico esistente."_s
                                            << warning << okCancel;
        QTest::newRow("create: name no file can have")
            << u"Attenzione: il nome del book fotografico non può contenere i caratteri / e \\ né caratteri "
               u"di "
               u"controllo, e non può essere formato soltanto da punti (. o ..).\r\n\r\nCorreggere il nome e "
               u"premere di nuovo il pulsante Applica e chiudi."_s
            << warning << okCancel;
        QTest::newRow("create: name a USB key cannot hold")
            << u"Attenzione: il nome indicato non può essere usato per un book fotografico.\r\n\r\nIl nome "
               u"contiene il carattere | (barra verticale), che il nome di un file non può contenere su "
               u"Windows e "
               u"sulle chiavette USB.\r\n\r\nCorreggere il nome e premere di nuovo il pulsante Applica e "
               u"chiudi."_s
            << warning << okCancel;
        QTest::newRow("create: name a device has")
            << u"Attenzione: il nome indicato non può essere usato per un book fotografico.\r\n\r\nIl nome "
               u"comincia con \"Com1\", riservato da Windows ai dispositivi del sistema, che non lo ammette "
               u"come "
               u"nome di un file neanche seguito da un punto e da altro.\r\n\r\nCorreggere il nome e premere "
               u"di nuovo il pulsante Applica e chiudi."_s
            << warning << okCancel;
        QTest::newRow("create: name too long")
            << u"Attenzione: il nome indicato non può essere usato per un book fotografico.\r\n\r\nIl nome è "
               u"troppo lungo: può occupare al massimo 235 byte (una lettera accentata ne occupa due), "
               u"mentre ne "
               u"occupa 240.\r\n\r\nCorreggere il nome e premere di nuovo il pulsante Applica e chiudi."_s
            << warning << okCancel;
        QTest::newRow("create: created")
            << u"Il file di archivio relativo al nuovo book fotografico è stato creato con successo.\r\n\r\n"
               u"E' ora possibile visualizzarlo nell'elenco dei book fotografici esistenti."_s
            << info << okCancel;
        const QString emptyList = u"Attenzione: l'elenco non contiene nessun book fotografico."_s;
        QTest::newRow("open: empty list") << emptyList << warning << okCancel;
        QTest::newRow("delete: empty list") << emptyList << warning << okCancel;
        QTest::newRow("open: nothing selected")
            << u"Attenzione: selezionare dall'elenco il book fotografico prima di premere il pulsante Apri "
               u"archivio."_s
            << warning << okCancel;
        QTest::newRow("delete: nothing selected")
            << u"Attenzione: selezionare dall'elenco il book fotografico da eliminare prima di premere il "
               u"pulsante del cestino."_s
            << warning << okCancel;
        QTest::newRow("delete: question")
            << u"Si sta per eliminare il book fotografico selezionato. Si ricorda che il file eliminato non "
               u"potrà essere recuperato.\r\n\r\nSi conferma l'eliminazione dell'archivio?\r\n\r\n"
               u"Book fotografico: \"Giulia\" (2 schede)."_s
            << question << yesNo;
        QTest::newRow("delete: deleted")
            << u"Il book fotografico è stato eliminato con successo."_s << info << okCancel;
        QTest::newRow("delete: file would not go")
            << u"Attenzione: non è stato possibile eliminare il book fotografico selezionato.\r\n\r\nIl file "
               u"potrebbe essere in uso da parte di un altro programma oppure protetto da scrittura.\r\n\r\n"
               u"Motivo: al suo posto c'è una cartella (Is a directory)."_s
            << warning << okCancel;

        // The editor.
        QTest::newRow("editor: empty book")
            << u"L'archivio non contiene nessuna scheda."_s << info << okCancel;
        QTest::newRow("editor: archive not accessible") << archiveAccess << error << okCancel;
        QTest::newRow("save: no title")
            << u"Attenzione: per salvare la scheda è necessario indicare il titolo della foto."_s << warning
            << okCancel;
        QTest::newRow("save: no date")
            << u"Attenzione: per salvare la scheda è necessario indicare la data della foto."_s << warning
            << okCancel;
        QTest::newRow("save: no location")
            << u"Attenzione: per salvare la scheda è necessario indicare la location della foto."_s << warning
            << okCancel;
        QTest::newRow("save: card overwritten")
            << u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_s << info
            << okCancel;
        QTest::newRow("save: card appended")
            << u"La scheda corrente è stata inserita in archivio."_s << info << okCancel;
        QTest::newRow("save: archive not accessible") << archiveAccess << error << okCancel;
        QTest::newRow("save: photo not written")
            << u"Attenzione: la scheda è stata salvata in archivio, ma non è stato possibile scrivere la sua "
               u"foto nella cartella Book_Zudid.\r\n\r\nLa foto resta visualizzata: accertarsi di possedere "
               u"i "
               u"privilegi di scrittura nella cartella di installazione del programma e premere di nuovo "
               u"Salva."_s
            << warning << okCancel;
        QTest::newRow("duplicate: new card")
            << u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata "
               u"inserita in archivio."_s
            << warning << okCancel;
        QTest::newRow("duplicate: ready") << u"E' ora possibile apportare le proprie modifiche alla scheda "
                                             u"corrente.\n\r\n\rAl termine premere "
                                             u"Salva per inserire la scheda in archivio."_s
                                          << info << okCancel;
        QTest::newRow("photo: saved to the chosen file")
            << u"La foto è stata salvata nel file \"<cartella>/scrivania/ritratto.jpg\"."_s << info
            << okCancel;
        QTest::newRow("photo: not written to the chosen file")
            << u"Attenzione: non è stato possibile salvare la foto nel file indicato.\r\n\r\nVerificare di "
               u"poter scrivere nella cartella scelta e che il nome del file termini con un'estensione di "
               u"immagine, per esempio .jpg."_s
            << warning << okCancel;
        QTest::newRow("attachments: file of the same name")
            << u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
               u"nome.\r\n\r\n"
               u"Si vuole sovrascrivere il file esistente?"_s
            << question << yesNo;

        // Search.
        QTest::newRow("search: archive not accessible") << archiveAccess << plain << ok;
        QTest::newRow("search: quick find on an empty list")
            << u"Ricerca non applicabile: la lista non contiene nessuna voce."_s << plain << ok;

        // Export, print and preview, slide show.
        QTest::newRow("export: question")
            << u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di "
               u"schede "
               u"presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_s
            << question << yesNo;
        QTest::newRow("export: done")
            << u"Le schede in archivio sono state esportate con successo.\r\n\r\nI dati si trovano nel file "
               u"\"<cartella>/Rove_Roruvorerud.xls\".\r\n\r\nSi vuole aprire il file di Excel?"_s
            << question << yesNo;
        QTest::newRow("export: failed") << u"Attenzione: il sistema non permette di esportare i "
                                           u"dati.\n\r\n\rAccertarsi che il file di Excel "
                                           u"non sia già aperto."_s
                                        << plain << ok;
        QTest::newRow("preview: failed")
            << u"Attenzione: la visualizzazione dell'anteprima di stampa non è andata a buon fine.\n\r\n\rSi "
               u"consiglia di ridurre le dimensioni della foto."_s
            << warning << okCancel;
        QTest::newRow("print: failed") << u"Attenzione: la stampa non è andata a buon fine.\n\r\n\rSi "
                                          u"consiglia di ridurre le dimensioni "
                                          u"della foto."_s
                                       << warning << okCancel;
        QTest::newRow("slide show: empty book")
            << u"L'archivio non contiene nessuna scheda."_s << info << okCancel;
        QTest::newRow("slide show: archive not accessible") << archiveAccess << error << okCancel;
    }
    void everyMessageBox() {
        QFETCH(QString, text);
        QFETCH(MsgKind, kind);
        QFETCH(MsgButtons, buttons);
        const QString situation = QString::fromUtf8(QTest::currentDataTag());
        const QHash<QString, Scene> scenes = makeScenes();
        const auto scene = scenes.constFind(situation);
        QVERIFY2(scene != scenes.constEnd(), qPrintable(situation));
        FakeMessages messages;
        (*scene)(messages);
        QVERIFY2(!messages.asked.isEmpty(), "no message box was shown");
        const FakeMessages::Asked& shown = messages.asked.last();
        QCOMPARE(shown.text,
                 text.replace(u"<cartella>/"_s, QDir::toNativeSeparators(ProgramFolder::path() + u'/')));
        QCOMPARE(shown.kind, kind);
        QCOMPARE(shown.buttons, buttons);
    }

private:
    using Scene = std::function<void(FakeMessages&)>;

    // What the user does to see each box, by the name of its row.
    QHash<QString, Scene> makeScenes() {
        QHash<QString, Scene> s;

        // --- Login and change of password -------------------------------------------------------
        s[u"login: wrong password"_s] = [this](FakeMessages&) { logIn(kPassword.toUpper(), u"sbagliata"_s); };
        s[u"login: store does not decode"_s] = [this](FakeMessages&) { logIn({}, kPassword); };
        s[u"change: old password wrong"_s] = [this](FakeMessages&) {
            changePassword(kPassword.toUpper(), u"sbagliata"_s, u"segreto"_s, u"segreto"_s);
        };
        s[u"change: not confirmed"_s] = [this](FakeMessages&) {
            changePassword(kPassword.toUpper(), kPassword, u"segreto"_s, u"SEGRETO"_s);
        };
        s[u"change: done"_s] = [this](FakeMessages&) {
            changePassword(kPassword.toUpper(), kPassword, u"segreto"_s, u"segreto"_s);
        };
        s[u"change: store does not decode"_s] = [this](FakeMessages&) {
            changePassword({}, kPassword, u"segreto"_s, u"segreto"_s);
        };
        s[u"change: password too long"_s] = [this](FakeMessages&) {
            changePassword(kPassword.toUpper(), kPassword, QString(256, u'a'), QString(256, u'a'));
        };
        s[u"change: character that cannot be stored"_s] = [this](FakeMessages&) {
            changePassword(kPassword.toUpper(), kPassword, u"costa10€"_s, u"costa10€"_s);
        };

        // --- Books ------------------------------------------------------------------------------
        s[u"create: no name"_s] = [this](FakeMessages&) { createBook(u"   "_s); };
        s[u"create: name taken"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            createBook(u" Giulia "_s);
        };
        s[u"create: name no file can have"_s] = [this](FakeMessages&) { createBook(u"../fuori"_s); };
        s[u"create: name a USB key cannot hold"_s] = [this](FakeMessages&) {
            createBook(u"Giulia|estate"_s);
        };
        s[u"create: name a device has"_s] = [this](FakeMessages&) { createBook(u"Com1.Giulia"_s); };
        s[u"create: name too long"_s] = [this](FakeMessages&) { createBook(QString(120, u'è')); };
        s[u"create: created"_s] = [this](FakeMessages&) { createBook(kBook); };
        s[u"open: empty list"_s] = [this](FakeMessages&) { chooseBook(u"btnApri"_s, false); };
        s[u"delete: empty list"_s] = [this](FakeMessages&) { chooseBook(u"btnElimina"_s, false); };
        s[u"open: nothing selected"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            chooseBook(u"btnApri"_s, false);
        };
        s[u"delete: nothing selected"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            chooseBook(u"btnElimina"_s, false);
        };
        s[u"delete: question"_s] = [this](FakeMessages& messages) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), archiveOf({card(u"Uno"_s), card(u"Due"_s)})));
            messages.answers = {MsgAnswer::No};
            chooseBook(u"btnElimina"_s, true);
        };
        s[u"delete: deleted"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            chooseBook(u"btnElimina"_s, true);
        };
        s[u"delete: file would not go"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            // Listed as a book, then a folder took the file's place before the waste bin was pressed.
            chooseBook(u"btnElimina"_s, true, [] {
                QVERIFY(QFile::remove(ProgramFolder::archiveOf(kBook)));
                QVERIFY(QDir().mkdir(ProgramFolder::archiveOf(kBook)));
            });
        };

        // --- The editor -------------------------------------------------------------------------
        s[u"editor: empty book"_s] = [this](FakeMessages&) {
            openEditor(0);
            click(editor(), u"cmdAvanti"_s);
        };
        s[u"editor: archive not accessible"_s] = [this](FakeMessages&) {
            openEditor(2);
            FaultyFileSystem faulty(FaultyFileSystem::Fault::ReadError);
            click(editor(), u"cmdAvanti"_s);
        };
        s[u"save: no title"_s] = [this](FakeMessages&) { saveNewCard(u"  "_s, u"01/03/2024"_s, u"Roma"_s); };
        s[u"save: no date"_s] = [this](FakeMessages&) { saveNewCard(u"Ritratto"_s, {}, u"Roma"_s); };
        s[u"save: no location"_s] = [this](FakeMessages&) {
            saveNewCard(u"Ritratto"_s, u"01/03/2024"_s, u" "_s);
        };
        s[u"save: card appended"_s] = [this](FakeMessages&) {
            saveNewCard(u"Ritratto"_s, u"01/03/2024"_s, u"Roma"_s);
        };
        s[u"save: card overwritten"_s] = [this](FakeMessages&) {
            openEditor(1);
            click(editor(), u"cmdAvanti"_s);
            click(editor(), u"cmdSalva"_s);
        };
        s[u"save: archive not accessible"_s] = [this](FakeMessages&) {
            openEditor(1);
            fillCard(u"Ritratto"_s, u"01/03/2024"_s, u"Roma"_s);
            FaultyFileSystem faulty(FaultyFileSystem::Fault::WriteError);
            click(editor(), u"cmdSalva"_s);
        };
        s[u"save: photo not written"_s] = [this](FakeMessages&) {
            openEditor(1);
            QVERIFY(QDir().mkpath(PhotoStore::photoPath(kBook, 1))); // a folder where the photo goes
            click(editor(), u"cmdAvanti"_s);
            click(editor(), u"cmdSalva"_s);
        };
        s[u"duplicate: new card"_s] = [this](FakeMessages&) {
            openEditor(1);
            click(editor(), u"cmdDuplica"_s);
        };
        s[u"duplicate: ready"_s] = [this](FakeMessages&) {
            openEditor(1);
            click(editor(), u"cmdAvanti"_s);
            click(editor(), u"cmdDuplica"_s);
        };
        s[u"photo: saved to the chosen file"_s] = [this](FakeMessages&) {
            FakeFileDialogs dialogs;
            openEditor(1);
            QVERIFY(QDir(m_dir->path()).mkdir(u"scrivania"_s));
            dialogs.answers = {m_dir->filePath(u"scrivania/ritratto"_s)};
            click(editor(), u"btnSalvaFoto"_s);
        };
        s[u"photo: not written to the chosen file"_s] = [this](FakeMessages&) {
            FakeFileDialogs dialogs;
            openEditor(1);
            QVERIFY(QDir(m_dir->path()).mkdir(u"occupato.jpg"_s));
            dialogs.answers = {m_dir->filePath(u"occupato.jpg"_s)};
            click(editor(), u"btnSalvaFoto"_s);
        };
        s[u"attachments: file of the same name"_s] = [this](FakeMessages& messages) {
            FakeFileDialogs dialogs;
            messages.answers = {MsgAnswer::No};
            openEditor(1);
            QVERIFY(AttachmentFolder::ensureFolder());
            QVERIFY(writeFile(AttachmentFolder::folder() + u"/contratto.pdf"_s, "vecchio"));
            const QString source = m_dir->filePath(u"scrivania/contratto.pdf"_s);
            QVERIFY(writeFile(source, "nuovo"));
            dialogs.answers = {source};
            bool ran = false;
            inModal<AttachmentsWindow>([](AttachmentsWindow* window) { click(window, u"btnSfoglia01"_s); },
                                        &ran);
            click(editor(), u"cmdFile"_s);
            QVERIFY(ran);
        };

        // --- Search -----------------------------------------------------------------------------
        s[u"search: archive not accessible"_s] = [this](FakeMessages&) {
            openEditor(2);
            bool ran = false;
            inModal<SearchWindow>(
                [](SearchWindow* search) {
                    FaultyFileSystem faulty(FaultyFileSystem::Fault::ReadError);
                    click(search, u"btnCerca"_s);
                },
                &ran);
            click(editor(), u"cmdTrova"_s);
            QVERIFY(ran);
        };
        s[u"search: quick find on an empty list"_s] = [this](FakeMessages&) {
            openEditor(2);
            bool ran = false;
            inModal<SearchWindow>(
                [](SearchWindow* search) {
                    child<QLineEdit>(search, u"txtNote"_s)->setText(u"nessuna nota così"_s);
                    click(search, u"btnCerca"_s);
                    click(search, u"btnTrova"_s);
                },
                &ran);
            click(editor(), u"cmdTrova"_s);
            QVERIFY(ran);
        };

        // --- Export, print and preview, slide show ----------------------------------------------
        s[u"export: question"_s] = [this](FakeMessages& messages) {
            messages.answers = {MsgAnswer::No};
            exportBook();
        };
        s[u"export: done"_s] = [this](FakeMessages& messages) {
            messages.answers = {MsgAnswer::Yes, MsgAnswer::No};
            exportBook();
        };
        s[u"export: failed"_s] = [this](FakeMessages&) {
            QVERIFY(QDir().mkdir(ProgramFolder::exportFile())); // a folder where the file should be
            exportBook();
        };
        s[u"preview: failed"_s] = [this](FakeMessages&) {
            FakePrinting printing;
            printing.previewError = u"Anteprima non disponibile."_s;
            printCard<CardPreviewWindow>();
        };
        s[u"print: failed"_s] = [this](FakeMessages&) {
            FakePrinting printing;
            printing.output = m_dir->filePath(u"manca/scheda.pdf"_s); // a folder that does not exist
            printCard<CardPrintWindow>();
        };
        s[u"slide show: empty book"_s] = [this](FakeMessages&) {
            QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), {}));
            slideShow(ProgramFolder::archiveOf(kBook));
        };
        s[u"slide show: archive not accessible"_s] = [this](FakeMessages&) {
            slideShow(m_dir->path()); // a folder where the archive should be
        };
        return s;
    }

    // --- Steps the scenes share ------------------------------------------------------------------
    // Stores the password, or a value that does not decode when it is empty.
    void storePassword(const QString& stored) {
        if (stored.isEmpty())
            QVERIFY(writeFile(ProgramFolder::passwordStore(), kUndecodableStore));
        else
            PasswordStore(ProgramFolder::passwordStore()).writePassword(stored);
    }

    void logIn(const QString& stored, const QString& typed) {
        storePassword(stored);
        m_windows->login()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
        type(child<QLineEdit>(m_windows->login(), u"txtPassword"_s), typed);
        click(m_windows->login(), u"cmdOK"_s);
    }

    void changePassword(const QString& stored, const QString& old, const QString& fresh,
                        const QString& confirmation) {
        storePassword(stored);
        m_windows->login()->show();
        QVERIFY(QTest::qWaitForWindowActive(m_windows->login()));
        click(m_windows->login(), u"btnCambiaPassword"_s);
        QVERIFY(QTest::qWaitForWindowActive(m_windows->changePassword()));
        child<QLineEdit>(m_windows->changePassword(), u"txtPasswordOld"_s)->insert(old);
        child<QLineEdit>(m_windows->changePassword(), u"txtPasswordNew"_s)->insert(fresh);
        child<QLineEdit>(m_windows->changePassword(), u"txtConferma"_s)->insert(confirmation);
        click(m_windows->changePassword(), u"cmdOK"_s);
    }

    void createBook(const QString& name) {
        m_windows->launcher()->show();
        click(m_windows->launcher(), u"btnCrea"_s);
        child<QLineEdit>(m_windows->createBook(), u"txtFile"_s)->setText(name);
        click(m_windows->createBook(), u"btnApplica"_s);
    }

    // Opens the open-book window, selects the first book when asked, and presses the button.
    void chooseBook(const QString& button, bool select, const std::function<void()>& before = {}) {
        m_windows->launcher()->show();
        click(m_windows->launcher(), u"btnApri"_s);
        if (select)
            child<QListWidget>(m_windows->openBook(), u"lstFiles"_s)->setCurrentRow(0);
        if (before)
            before();
        click(m_windows->openBook(), button);
    }

    EditorWindow* editor() { return m_windows->editor(); }

    // Opens a book of the given number of cards in the editor, on its empty new card.
    void openEditor(int cards) {
        QList<TScheda> book;
        for (int n = 1; n <= cards; ++n)
            book << card(u"Scatto %1"_s.arg(n));
        QVERIFY(writeFile(ProgramFolder::archiveOf(kBook), archiveOf(book)));
        editor()->openBook(kBook, ProgramFolder::archiveOf(kBook));
        editor()->show();
        QVERIFY(QTest::qWaitForWindowExposed(editor()));
    }

    void fillCard(const QString& title, const QString& date, const QString& location) {
        child<QLineEdit>(editor(), u"txtTitolo"_s)->setText(title);
        editor()->setDateText(date);
        child<QLineEdit>(editor(), u"txtLocation"_s)->setText(location);
    }

    void saveNewCard(const QString& title, const QString& date, const QString& location) {
        openEditor(0);
        fillCard(title, date, location);
        click(editor(), u"cmdSalva"_s);
    }

    void exportBook() {
        FakeShell shell;
        openEditor(2);
        ExportWindow window(editor());
        window.setArchivePath(editor()->archivePath());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        click(&window, u"cmdEsporta"_s);
    }

    template <class W> void printCard() {
        openEditor(1);
        click(editor(), u"cmdAvanti"_s);
        bool ran = false;
        inModal<W>([](W* window) { click(window, u"btnStampa"_s); }, &ran);
        openModal<W>(editor());
        QVERIFY(ran);
    }

    void slideShow(const QString& archivePath) {
        bool ran = false;
        inModal<SlideShowWindow>([](SlideShowWindow* window) { window->slideShow()->step(); }, &ran);
        openModal<SlideShowWindow>(
            nullptr, [&](SlideShowWindow& window) { window.setBook(kBook, archivePath); });
        QVERIFY(ran);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WindowSet> m_windows;
};

LUMIVERA_WINDOW_TEST_MAIN(TestMessages)
#include "tst_messages.moc"
