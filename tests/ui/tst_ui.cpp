// The behaviours that every window shares, tried on small windows made for the test.
#include "FakeMessages.h"
#include "ShownText.h"
#include "TestTyping.h"
#include "archive/core/Cp1252.h"
#include "archive/core/PhotoStore.h"
#include "artwork/Artwork.h"
#include "ui/BusyNotice.h"
#include "ui/DialogKeys.h"
#include "ui/FieldStart.h"
#include "ui/FocusStyles.h"
#include "ui/LinkText.h"
#include "ui/Messages.h"
#include "ui/NameFieldFilter.h"
#include "ui/Picture.h"
#include "ui/ReturnChain.h"
#include "ui/StatusHints.h"
#include "ui/StorableTextValidator.h"
#include "ui/WindowFrame.h"
#include "ui/WorkProgress.h"

#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSvgRenderer>
#include <QTest>
#include <QTimer>

#include <QToolTip>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* field(QWidget* parent, const QString& name, int x, int y) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(x, y, 200, 24);
    return edit;
}

// Types text key by key, as a keyboard would, accented letters included.
void type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int x, int y) {
    auto* push = new QPushButton(text, parent);
    push->setObjectName(name);
    push->setGeometry(x, y, 100, 30);
    return push;
}

// Presses a key as the keyboard does, held down when repeated.
void pressKey(QWidget* widget, int key, bool repeated = false) {
    const Qt::KeyboardModifiers modifiers = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), repeated);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), repeated);
    QApplication::sendEvent(widget, &release);
}

void showAndActivate(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

// Clicks a button of the message box that is open when the event loop next runs.
void answerRealBoxWith(QMessageBox::StandardButton button, QMessageBox::Icon* seenIcon, QString* seenTitle) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        *seenIcon = box->icon();
        *seenTitle = box->windowTitle();
        if (button == QMessageBox::NoButton)
            box->close();
        else
            box->button(button)->click();
    });
}

} // namespace

class TestUi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QTRY_VERIFY(!QApplication::activeModalWidget()); }

    // --- Message boxes ---------------------------------------------------------------------------
    void realMessageBoxAnswers_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goesOn");
        const int warning = int(MsgKind::Warning), error = int(MsgKind::Error),
                  info = int(MsgKind::Information), confirm = int(MsgKind::Confirmation),
                  plain = int(MsgKind::Plain);
        const int okCancel = int(MsgButtons::OkCancel), yesNo = int(MsgButtons::YesNo),
                  ok = int(MsgButtons::Ok);
        QTest::newRow("warning, OK") << warning << okCancel << int(QMessageBox::Ok)
                                     << int(QMessageBox::Warning) << int(MsgAnswer::Ok) << true;
        QTest::newRow("warning, Cancel acts as OK")
            << warning << okCancel << int(QMessageBox::Cancel) << int(QMessageBox::Warning)
            << int(MsgAnswer::Cancel) << true;
        QTest::newRow("error, Cancel") << error << okCancel << int(QMessageBox::Cancel)
                                       << int(QMessageBox::Critical) << int(MsgAnswer::Cancel) << true;
        QTest::newRow("information, OK") << info << okCancel << int(QMessageBox::Ok)
                                         << int(QMessageBox::Information) << int(MsgAnswer::Ok) << true;
        QTest::newRow("confirmation, Yes") << confirm << yesNo << int(QMessageBox::Yes)
                                           << int(QMessageBox::Question) << int(MsgAnswer::Yes) << true;
        QTest::newRow("confirmation, No stops") << confirm << yesNo << int(QMessageBox::No)
                                                << int(QMessageBox::Question) << int(MsgAnswer::No) << false;
        QTest::newRow("plain, OK") << plain << ok << int(QMessageBox::Ok) << int(QMessageBox::NoIcon)
                                   << int(MsgAnswer::Ok) << true;
    }
    void realMessageBoxAnswers() {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(int, press);
        QFETCH(int, icon);
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        QMessageBox::Icon seenIcon{};
        QString seenTitle;
        answerRealBoxWith(QMessageBox::StandardButton(press), &seenIcon, &seenTitle);
        const MsgAnswer got = MessageBox(u"Attenzione: prova."_s, MsgKind(kind), MsgButtons(buttons));
        QCOMPARE(int(got), answer);
        QCOMPARE(int(seenIcon), icon);
        QVERIFY(!seenTitle.isEmpty());
        QCOMPARE(consents(got), goesOn);
    }

    // Closing a box without a button, by its close command or by Escape: an information box goes on
    // exactly like OK; a question is answered No, so nothing happens that the user did not choose.
    void closingABoxWithoutAButton_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("byEscape");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goesOn");
        const int info = int(MsgKind::Information), confirm = int(MsgKind::Confirmation);
        const int okCancel = int(MsgButtons::OkCancel), yesNo = int(MsgButtons::YesNo);
        QTest::newRow("information, closed") << info << okCancel << false << int(MsgAnswer::Cancel) << true;
        QTest::newRow("information, Escape") << info << okCancel << true << int(MsgAnswer::Cancel) << true;
        QTest::newRow("confirmation, closed") << confirm << yesNo << false << int(MsgAnswer::No) << false;
        QTest::newRow("confirmation, Escape") << confirm << yesNo << true << int(MsgAnswer::No) << false;
        const int yesNoCancel = int(MsgButtons::YesNoCancel),
                  versions = int(MsgButtons::ReloadOverwriteCancel);
        QTest::newRow("unsaved changes, closed")
            << confirm << yesNoCancel << false << int(MsgAnswer::Cancel) << true;
        QTest::newRow("unsaved changes, Escape")
            << confirm << yesNoCancel << true << int(MsgAnswer::Cancel) << true;
        QTest::newRow("two versions, Escape")
            << int(MsgKind::Warning) << versions << true << int(MsgAnswer::Cancel) << true;
    }
    void closingABoxWithoutAButton() {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(bool, byEscape);
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            if (byEscape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        const MsgAnswer got = MessageBox(u"Si conferma l'operazione?"_s, MsgKind(kind), MsgButtons(buttons));
        QVERIFY(seen);
        QCOMPARE(int(got), answer);
        QCOMPARE(consents(got), goesOn);
    }

    // Return presses the box's default button: the first of its set, or No in a question that asks for
    // it, which then stops the operation.
    void returnPressesTheDefaultButton_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("defaultButton");
        QTest::addColumn<int>("answer");
        const int info = int(MsgKind::Information), confirm = int(MsgKind::Confirmation),
                  plain = int(MsgKind::Plain);
        const int first = int(MsgDefault::First), no = int(MsgDefault::No);
        QTest::newRow("information") << info << int(MsgButtons::OkCancel) << first << int(MsgAnswer::Ok);
        QTest::newRow("plain") << plain << int(MsgButtons::Ok) << first << int(MsgAnswer::Ok);
        QTest::newRow("question") << confirm << int(MsgButtons::YesNo) << first << int(MsgAnswer::Yes);
        QTest::newRow("question whose default is No")
            << confirm << int(MsgButtons::YesNo) << no << int(MsgAnswer::No);
        QTest::newRow("unsaved changes: Sì")
            << confirm << int(MsgButtons::YesNoCancel) << first << int(MsgAnswer::Yes);
        // Neither version of a card is dropped by a hasty Return.
        QTest::newRow("two versions: Annulla")
            << int(MsgKind::Warning) << int(MsgButtons::ReloadOverwriteCancel) << first
            << int(MsgAnswer::Cancel);
    }

    // The choice between two versions of a card: each button gives its own answer. (Their keys, Alt+M
    // and Alt+S, are pressed on the desktop, in the scenario of two copies of the program.)
    void choiceBetweenTwoVersions_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("the other version") << u"&Mostra l'altra versione"_s << int(MsgAnswer::Reload);
        QTest::newRow("overwrite") << u"&Sovrascrivi"_s << int(MsgAnswer::Overwrite);
    }
    void choiceBetweenTwoVersions() {
        QFETCH(QString, button);
        QFETCH(int, answer);
        QStringList labels;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QAbstractButton* chosen = nullptr;
            for (QAbstractButton* b : box->buttons()) {
                labels << b->text();
                if (b->text() == button)
                    chosen = b;
            }
            if (chosen)
                QTest::mouseClick(chosen, Qt::LeftButton);
            else
                box->reject(); // the test fails rather than waits
        });
        const MsgAnswer got = MessageBox(u"Un'altra copia ha modificato la scheda."_s, MsgKind::Warning,
                                         MsgButtons::ReloadOverwriteCancel);
        QCOMPARE(int(got), answer);
        labels.sort();
        QCOMPARE(labels, QStringList({u"&Mostra l'altra versione"_s, u"&Sovrascrivi"_s, u"Cancel"_s}));
    }

    void showMessageIsPlainWithOk() {
        FakeMessages messages;
        ShowMessage(u"Attenzione: testo\r\n\r\nsu due paragrafi."_s);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].text, u"Attenzione: testo\r\n\r\nsu due paragrafi."_s);
        QCOMPARE(messages.asked[0].kind, MsgKind::Plain);
        QCOMPARE(messages.asked[0].buttons, MsgButtons::Ok);
    }

    // --- Focus styles ----------------------------------------------------------------------------
    void styleAColoursFollowTheFocus() {
        QWidget window;
        window.resize(300, 200);
        QLineEdit* first = field(&window, u"txtTitolo"_s, 10, 10);
        QLineEdit* second = field(&window, u"txtDescrizione"_s, 10, 50);
        QLineEdit* third = field(&window, u"txtNote"_s, 10, 90);
        for (QLineEdit* f : {first, second, third})
            FocusStyles::applyStyleA(f);
        showAndActivate(&window);

        const auto shown = [](QLineEdit* f) {
            return f->grab().toImage().pixelColor(f->width() / 2, f->height() / 2);
        };
        QTRY_VERIFY(first->hasFocus());
        QCOMPARE(FocusStyles::styleAFill(first), FocusStyles::kFocused);
        QCOMPARE(shown(first), FocusStyles::kFocused);
        QCOMPARE(shown(third), FocusStyles::kRest); // never had the focus: pale blue from the start

        QTest::keyClick(first, Qt::Key_Tab);
        QTRY_VERIFY(second->hasFocus());
        QCOMPARE(shown(first), FocusStyles::kRest);
        QCOMPARE(shown(second), FocusStyles::kFocused);
        QCOMPARE(shown(second).name(), FocusStyles::kFocused.name());
        QCOMPARE(second->grab().toImage().pixelColor(0, second->height() / 2), FocusStyles::kBorder);

        QTest::mouseClick(third, Qt::LeftButton);
        QTRY_VERIFY(third->hasFocus());
        QCOMPARE(shown(second), FocusStyles::kRest);
        QCOMPARE(shown(third), FocusStyles::kFocused);
    }

    void styleBFrameShowsWithTheFocus() {
        QWidget window;
        window.resize(300, 200);
        QLineEdit* password = field(&window, u"txtPassword"_s, 40, 40);
        QLineEdit* other = field(&window, u"txtAltro"_s, 40, 120);
        QWidget* frame = FocusStyles::applyStyleB(password, u"effPassword"_s);
        QCOMPARE(frame->objectName(), u"effPassword"_s);
        QCOMPARE(frame->geometry(), QRect(36, 36, 208, 32));
        QVERIFY(frame->isHidden());

        other->setFocus();
        showAndActivate(&window);
        QTRY_VERIFY(other->hasFocus());
        QVERIFY(!frame->isVisible());
        password->setFocus();
        QTRY_VERIFY(frame->isVisible());
        QCOMPARE(frame->grab().toImage().pixelColor(frame->width() / 2, 2), FocusStyles::kFocused);
        other->setFocus();
        QTRY_VERIFY(!frame->isVisible());
    }

    // --- Return-key chains -----------------------------------------------------------------------
    void returnMovesAlongTheChain_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("actionRan");
        QTest::newRow("title to description") << u"txtTitolo"_s << u"txtDescrizione"_s << false;
        QTest::newRow("notes back to title") << u"txtNote"_s << u"txtTitolo"_s << false;
        QTest::newRow("free text to the button, not pressed") << u"txtTrova"_s << u"btnTrova"_s << false;
        QTest::newRow("action field keeps the focus") << u"txtPassword"_s << u"txtPassword"_s << true;
        QTest::newRow("field outside the chain") << u"txtLibero"_s << u"txtLibero"_s << false;
    }
    void returnMovesAlongTheChain() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(bool, actionRan);
        QDialog window;
        window.resize(300, 300);
        QLineEdit* titolo = field(&window, u"txtTitolo"_s, 10, 10);
        QLineEdit* descrizione = field(&window, u"txtDescrizione"_s, 10, 40);
        QLineEdit* note = field(&window, u"txtNote"_s, 10, 70);
        QLineEdit* trova = field(&window, u"txtTrova"_s, 10, 100);
        QLineEdit* password = field(&window, u"txtPassword"_s, 10, 130);
        field(&window, u"txtLibero"_s, 10, 160);
        auto* btnTrova = new QPushButton(u"Trova"_s, &window);
        btnTrova->setObjectName(u"btnTrova"_s);
        btnTrova->setGeometry(10, 200, 80, 30);
        QSignalSpy pressed(btnTrova, &QPushButton::clicked);
        WindowFrame::makeFixedDialog(&window, WindowFrame::Centre::Screen);
        bool ran = false;
        ReturnChain::install({{titolo, descrizione},
                              {note, titolo},
                              {trova, btnTrova},
                              {password, std::function<void()>([&] { ran = true; })}});
        showAndActivate(&window);

        auto* start = window.findChild<QLineEdit*>(from);
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        QSignalSpy returned(start, &QLineEdit::returnPressed);
        QTest::keyClick(start, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), to);
        QCOMPARE(returned.size(), 1); // the key reached the field: not consumed
        QCOMPARE(ran, actionRan);
        QCOMPARE(pressed.size(), 0);
    }

    // --- Return and Escape in a window -----------------------------------------------------------
    // A window of the program's kind: a field, a field whose Return passes the focus on, a list, the
    // button the window is for and the one that leaves it.
    void returnAndEscapePressTheWindowsButtons_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("repeated");
        QTest::addColumn<bool>("okEnabled");
        QTest::addColumn<QString>("pressed"); // the button pressed, if any
        QTest::addColumn<QString>("focusAfter");
        const int ret = Qt::Key_Return, esc = Qt::Key_Escape;
        QTest::newRow("Return in a field presses OK")
            << u"txtLibero"_s << ret << false << true << u"btnOK"_s << u"txtLibero"_s;
        QTest::newRow("Enter of the keypad as well")
            << u"txtLibero"_s << int(Qt::Key_Enter) << false << true << u"btnOK"_s << u"txtLibero"_s;
        QTest::newRow("Escape in a field presses Annulla")
            << u"txtLibero"_s << esc << false << true << u"btnAnnulla"_s << u"txtLibero"_s;
        QTest::newRow("Escape on a list")
            << u"lstVoci"_s << esc << false << true << u"btnAnnulla"_s << u"lstVoci"_s;
        QTest::newRow("Return on a list presses OK")
            << u"lstVoci"_s << ret << false << true << u"btnOK"_s << u"lstVoci"_s;
        QTest::newRow("Return on Annulla presses Annulla")
            << u"btnAnnulla"_s << ret << false << true << u"btnAnnulla"_s << u"btnAnnulla"_s;
        QTest::newRow("Return in a chained field only moves the focus")
            << u"txtCatena"_s << ret << false << true << QString() << u"txtLibero"_s;
        QTest::newRow("Return with OK disabled presses nothing")
            << u"txtLibero"_s << ret << false << false << QString() << u"txtLibero"_s;
        QTest::newRow("a Return held down presses nothing more")
            << u"txtLibero"_s << ret << true << true << QString() << u"txtLibero"_s;
        QTest::newRow("an Escape held down presses nothing more")
            << u"txtLibero"_s << esc << true << true << QString() << u"txtLibero"_s;
    }
    void returnAndEscapePressTheWindowsButtons() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(bool, repeated);
        QFETCH(bool, okEnabled);
        QFETCH(QString, pressed);
        QFETCH(QString, focusAfter);
        QDialog window;
        window.resize(300, 300);
        QLineEdit* libero = field(&window, u"txtLibero"_s, 10, 10);
        QLineEdit* catena = field(&window, u"txtCatena"_s, 10, 40);
        auto* list = new QListWidget(&window);
        list->setObjectName(u"lstVoci"_s);
        list->setGeometry(10, 70, 200, 80);
        list->addItems({u"Anna.wmn"_s, u"Bea.wmn"_s});
        QPushButton* ok = button(&window, u"btnOK"_s, u"OK"_s, 10, 200);
        QPushButton* annulla = button(&window, u"btnAnnulla"_s, u"Annulla"_s, 120, 200);
        ok->setEnabled(okEnabled);
        QStringList pressedNames;
        for (QPushButton* push : {ok, annulla})
            connect(push, &QPushButton::clicked, [&, push] { pressedNames << push->objectName(); });
        WindowFrame::makeFixedDialog(&window, WindowFrame::Centre::Screen);
        ReturnChain::install({{catena, libero}});
        DialogKeys::install(&window, {ok}, {annulla});
        showAndActivate(&window);

        auto* start = window.findChild<QWidget*>(focus);
        start->setFocus();
        QTRY_VERIFY(start->hasFocus());
        pressKey(start, key, repeated);
        QCOMPARE(pressedNames, pressed.isEmpty() ? QStringList() : QStringList{pressed});
        QCOMPARE(QApplication::focusWidget()->objectName(), focusAfter);
        QVERIFY(window.isVisible()); // the buttons here close nothing: the keys alone never do
    }

    // A window of two pages names the buttons of both: each key presses the one shown now, a clickable
    // picture as well as a push button, and nothing when the page shown has none for it.
    void keysPressTheButtonsOfThePageShown() {
        QDialog window;
        window.resize(300, 300);
        auto* criteria = new QWidget(&window);
        criteria->setGeometry(0, 0, 300, 300);
        auto* results = new QWidget(&window);
        results->setGeometry(0, 0, 300, 300);
        results->hide();
        QLineEdit* key = field(criteria, u"txtTitolo"_s, 10, 10);
        QLineEdit* quick = field(results, u"txtTrova"_s, 10, 10);
        QPushButton* cerca = button(criteria, u"btnCerca"_s, u"Cerca"_s, 10, 200);
        QPushButton* annulla = button(criteria, u"btnAnnulla"_s, u"Chiudi"_s, 120, 200);
        auto* chiudi = new Picture(results);
        chiudi->setGeometry(120, 200, 100, 30);
        chiudi->setClickable(true);
        auto* spento = new Picture(results);
        spento->setGeometry(10, 200, 100, 30);
        spento->setClickable(true);
        spento->setEnabled(false);
        QSignalSpy searched(cerca, &QPushButton::clicked);
        QSignalSpy cancelled(annulla, &QPushButton::clicked);
        QSignalSpy closed(chiudi, &Picture::clicked);
        QSignalSpy disabledPressed(spento, &Picture::clicked);
        WindowFrame::makeFixedDialog(&window, WindowFrame::Centre::Screen);
        DialogKeys::install(&window, {spento, cerca}, {annulla, chiudi});
        showAndActivate(&window);

        key->setFocus();
        QTRY_VERIFY(key->hasFocus());
        QTest::keyClick(key, Qt::Key_Return);
        QTest::keyClick(key, Qt::Key_Escape);
        QCOMPARE(searched.size(), 1);
        QCOMPARE(cancelled.size(), 1);

        criteria->hide();
        results->show();
        quick->setFocus();
        QTRY_VERIFY(quick->hasFocus());
        QTest::keyClick(quick, Qt::Key_Return);
        QTest::keyClick(quick, Qt::Key_Escape);
        QCOMPARE(searched.size(), 1);
        QCOMPARE(cancelled.size(), 1);
        QCOMPARE(closed.size(), 1);
        QCOMPARE(disabledPressed.size(), 0);
        QVERIFY(window.isVisible());
    }

    // --- Fields read from their beginning --------------------------------------------------------
    void longTextsShowTheirBeginning_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("beginning");
        QTest::newRow("filled by the program") << u"filled"_s << true;
        QTest::newRow("typed, then left with Tab") << u"tab"_s << true;
        QTest::newRow("typed, then left for another field by a click") << u"click"_s << true;
        QTest::newRow("typed, still being typed in") << u"typing"_s << false;
        QTest::newRow("typed, then another window taken") << u"window"_s << false;
    }
    void longTextsShowTheirBeginning() {
        QFETCH(QString, how);
        QFETCH(bool, beginning);
        QDialog window;
        window.resize(300, 120);
        QLineEdit* descrizione = field(&window, u"txtDesc01"_s, 10, 10);
        QLineEdit* other = field(&window, u"txtDesc02"_s, 10, 50);
        FieldStart::install(descrizione);
        showAndActivate(&window);
        const QString text = u"Contratto firmato dalla modella per il servizio fotografico di agosto"_s;
        QVERIFY(descrizione->fontMetrics().horizontalAdvance(text) > 2 * descrizione->width());
        if (how == u"filled"_s) {
            other->setFocus();
            QTRY_VERIFY(other->hasFocus());
            descrizione->setText(text);
        } else {
            descrizione->setFocus();
            QTRY_VERIFY(descrizione->hasFocus());
            QTest::keyClicks(descrizione, text);
            if (how == u"tab"_s)
                QTest::keyClick(descrizione, Qt::Key_Tab);
            else if (how == u"click"_s)
                QTest::mouseClick(other, Qt::LeftButton);
        }
        QDialog elsewhere;
        if (how == u"window"_s) {
            elsewhere.resize(100, 100);
            showAndActivate(&elsewhere);
            QVERIFY(!descrizione->hasFocus());
        }
        QCOMPARE(descrizione->text(), text);
        QCOMPARE(firstShown(descrizione) == 0, beginning);
    }

    // --- Book-name character filter --------------------------------------------------------------
    void refusedCharactersNeverReachTheField_data() {
        QTest::addColumn<QString>("typed");
        const QString refused = u"\"*/:<>?\\°ÇÑçñ"_s;
        QCOMPARE(refused.size(), 13);
        for (QChar c : refused)
            QTest::newRow(qPrintable(u"refused "_s + c)) << QString(c);
    }
    void refusedCharactersNeverReachTheField() {
        QFETCH(QString, typed);
        QLineEdit name;
        NameFieldFilter::install(&name);
        type(&name, u"Book"_s + typed + u"1"_s);
        QCOMPARE(name.text(), u"Book1"_s);
        QVERIFY(NameFieldFilter::refuses(typed.at(0)));
    }

    void otherCharactersAreAccepted() {
        QLineEdit name;
        NameFieldFilter::install(&name);
        type(&name, u"Giulia | estate è già 2024_#!"_s);
        QCOMPARE(name.text(), u"Giulia | estate è già 2024_#!"_s);
        name.clear();
        name.insert(u"a:b?c"_s); // pasted text is not filtered
        QCOMPARE(name.text(), u"a:b?c"_s);
    }

    // --- Fields that keep only what a book stores -------------------------------------------------
    void bookTextKeptAndRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("refused"); // the status line afterwards; empty: untouched
        QTest::newRow("e acute") << u"é"_s << u"é"_s << QString();
        QTest::newRow("euro") << u"€"_s << u"€"_s << QString();
        QTest::newRow("curly quotes") << u"“sì”"_s << u"“sì”"_s << QString();
        QTest::newRow("em dash") << u"—"_s << u"—"_s << QString();
        QTest::newRow("ellipsis") << u"…"_s << u"…"_s << QString();
        QTest::newRow("o stroke") << u"ø"_s << u"ø"_s << QString();
        QTest::newRow("s acute") << u"ś"_s << QString() << refusal(u"ś"_s, u"s"_s);
        QTest::newRow("L stroke") << u"Ł"_s << QString() << refusal(u"Ł"_s, u"L"_s);
        QTest::newRow("star") << u"★"_s << QString() << refusal(u"★"_s);
        QTest::newRow("emoji") << u"📷"_s << QString() << refusal(u"📷"_s);
        QTest::newRow("e and a combining acute") << u"e\u0301"_s << u"é"_s << QString();
        QTest::newRow("accent no letter takes") << u"q\u0301"_s << u"q"_s << refusal(u"\u25CC\u0301"_s);
        QTest::newRow("the rest of the text stays") << u"5★ ok"_s << u"5 ok"_s << refusal(u"★"_s);
        QTest::newRow("an invisible sign is named by its code")
            << u"a\u200Bb"_s << u"ab"_s << refusal(u"U+200B"_s);
    }
    void bookTextKeptAndRefused() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, refused);
        QWidget window;
        window.resize(400, 100);
        QLineEdit* edit = field(&window, u"txtGiudizio"_s, 10, 10);
        auto* status = new QLabel(u"Pronto"_s, &window);
        StorableTextField::install(edit, Cp1252::holds, Cp1252::plainLetters, status);
        showAndActivate(&window);
        typeCharacters(edit, typed);
        QCOMPARE(edit->text(), kept);
        QCOMPARE(status->text(), refused.isEmpty() ? u"Pronto"_s : refused);
        QVERIFY(edit->hasAcceptableInput());
    }

    // A paste and a drop keep every character that can be stored, and the cursor stays after the text
    // that came in.
    void pastedAndDroppedTextKeepsWhatCanBeStored() {
        QWidget window;
        window.resize(400, 100);
        QLineEdit* edit = field(&window, u"txtGiudizio"_s, 10, 10);
        auto* status = new QLabel(&window);
        StorableTextField::install(edit, Cp1252::holds, Cp1252::plainLetters, status);
        showAndActivate(&window);

        QGuiApplication::clipboard()->setText(u"Ottimo ★ “sì” – 5 € …"_s);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), u"Ottimo  “sì” – 5 € …"_s);
        QCOMPARE(status->text(), refusal(u"★"_s));

        edit->setText(u"abcdef"_s);
        edit->setCursorPosition(3);
        QGuiApplication::clipboard()->setText(u"★x😀y"_s);
        edit->paste();
        QCOMPARE(edit->text(), u"abcxydef"_s);
        QCOMPARE(edit->cursorPosition(), 5);

        status->clear();
        edit->clear();
        QMimeData dragged;
        dragged.setText(u"Łódź ★"_s);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter); // the field becomes the drag's target
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edit, &drop);
        QCOMPARE(edit->text(), u"ód "_s);
        QCOMPARE(status->text(), refusal(u"Ł"_s, u"L"_s));
    }

    // Where there is no status line, the refusal shows as a balloon at the field.
    void refusalBalloon() {
        QWidget window;
        window.resize(400, 100);
        QLineEdit* edit = field(&window, u"txtLocation"_s, 10, 10);
        StorableTextField::install(edit, Cp1252::holds, Cp1252::plainLetters);
        showAndActivate(&window);
        typeCharacters(edit, u"Kraków ś"_s);
        QCOMPARE(edit->text(), u"Kraków "_s);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), refusal(u"ś"_s, u"s"_s));
        QToolTip::hideText();
    }

    // --- Status-line hints -----------------------------------------------------------------------
    void hintsFollowThePointer() {
        QWidget window;
        window.resize(600, 400);
        auto* panContainer = new QWidget(&window);
        panContainer->setObjectName(u"panContainer"_s);
        panContainer->setGeometry(0, 0, 600, 300);
        auto* shpSfondo = new QFrame(panContainer);
        shpSfondo->setGeometry(300, 0, 300, 300);
        auto* cmdSalva = new Picture(panContainer);
        cmdSalva->setGeometry(10, 10, 40, 40);
        auto* txtTitolo = field(panContainer, u"txtTitolo"_s, 10, 100);
        auto* lblOnArea = new QLabel(u"Titolo foto:"_s, panContainer);
        lblOnArea->setGeometry(10, 150, 100, 20);
        auto* shpSezione = new QFrame(panContainer);
        shpSezione->setGeometry(320, 20, 200, 100);
        auto* lblOnShape = new QLabel(u"Sezione"_s, shpSezione);
        lblOnShape->setGeometry(10, 10, 100, 20);
        auto* panInfo = new QLabel(u"Pronto per archiviare una nuova scheda..."_s, &window);
        panInfo->setGeometry(0, 350, 600, 30);

        auto* hints = new StatusHints(&window, panInfo);
        hints->addHint(cmdSalva, u"Salva la scheda in archivio."_s);
        hints->addClearingArea(panContainer);
        hints->install();
        showAndActivate(&window);

        const auto moveTo = [&](QWidget* w, QPoint p = {5, 5}) { QTest::mouseMove(w, p); };
        moveTo(txtTitolo);
        QCOMPARE(panInfo->text(), u"Pronto per archiviare una nuova scheda..."_s);
        moveTo(cmdSalva);
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);
        moveTo(txtTitolo);
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);
        moveTo(lblOnShape);
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);
        moveTo(shpSezione);
        QCOMPARE(panInfo->text(), u"Salva la scheda in archivio."_s);
        moveTo(lblOnArea);
        QCOMPARE(panInfo->text(), QString());
        moveTo(cmdSalva, {20, 20});
        moveTo(panContainer, {200, 250});
        QCOMPARE(panInfo->text(), QString());
        moveTo(cmdSalva, {20, 20});
        moveTo(&window, {300, 320});
        QCOMPARE(panInfo->text(), QString());
    }

    // --- Link texts ------------------------------------------------------------------------------
    void linkColoursAndClick() {
        QWidget window;
        window.resize(300, 100);
        auto* link = new QLabel(u"Visualizza guida in formato PDF"_s, &window);
        link->setGeometry(40, 10, 250, 24);
        auto* picture = new QLabel(&window);
        picture->setGeometry(5, 10, 27, 27);
        int opened = 0;
        LinkText::attach(link, picture, [&] { ++opened; });
        showAndActivate(&window);
        QVERIFY(link->font().underline());
        QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);

        for (QWidget* part : {static_cast<QWidget*>(link), static_cast<QWidget*>(picture)}) {
            QTest::mousePress(part, Qt::LeftButton, {}, {5, 5});
            QCOMPARE(LinkText::colour(link), LinkText::kOrange);
            QTest::mouseRelease(part, Qt::LeftButton, {}, {5, 5});
            QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);
        }
        QCOMPARE(opened, 2);

        // Released outside the link: dark blue again, nothing opened.
        QTest::mousePress(link, Qt::LeftButton, {}, {5, 5});
        QTest::mouseRelease(link, Qt::LeftButton, {}, {280, 80});
        QCOMPARE(LinkText::colour(link), LinkText::kDarkBlue);
        QCOMPARE(opened, 2);
    }

    // --- Busy notice -----------------------------------------------------------------------------
    void busyNoticeShowsBeforeTheClickRuns() {
        QDialog window;
        window.resize(300, 100);
        auto* btnCerca = new QPushButton(u"Cerca"_s, &window);
        btnCerca->setGeometry(10, 10, 100, 30);
        auto* lblAttendere = new QLabel(u"Ricerca schede in corso. Attendere..."_s, &window);
        lblAttendere->setGeometry(10, 50, 280, 20);
        BusyNotice::install(btnCerca, lblAttendere, &window);
        showAndActivate(&window);
        QVERIFY(!lblAttendere->isVisible());

        bool visibleDuringClick = false;
        connect(btnCerca, &QPushButton::clicked, [&] { visibleDuringClick = lblAttendere->isVisible(); });
        QTest::mouseClick(btnCerca, Qt::LeftButton);
        QVERIFY(visibleDuringClick);
        window.close();
        QVERIFY(lblAttendere->isHidden());
    }

    // --- Window frames ---------------------------------------------------------------------------
    // The drawings the build makes for start-up are the artwork as it is drawn now, pixel for pixel,
    // at pixel ratio 2 as at 1: a drawing left over from an earlier artwork fails here.
    void buildDrawingsAreTheArtworkAsDrawnNow_data() {
        QTest::addColumn<QString>("artwork");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<bool>("onWhite");
        QTest::newRow("login logo") << u":/access/login-logo.svg"_s << QSize(328, 160) << false;
        QTest::newRow("login logo, pixel ratio 2")
            << u":/access/login-logo.svg"_s << QSize(656, 320) << false;
        QTest::newRow("initial password line") << u":/access/first-access.svg"_s << QSize(328, 48) << false;
        QTest::newRow("initial password line, pixel ratio 2")
            << u":/access/first-access.svg"_s << QSize(656, 96) << false;
        QTest::newRow("placeholder photo") << u":/editor/placeholder.svg"_s << QSize(307, 409) << true;
    }
    void buildDrawingsAreTheArtworkAsDrawnNow() {
        QFETCH(QString, artwork);
        QFETCH(QSize, pixels);
        QFETCH(bool, onWhite);
        const auto background = onWhite ? Artwork::Background::White : Artwork::Background::Transparent;
        const QImage built = Artwork::prepared(artwork, pixels, background);
        QVERIFY(!built.isNull());
        QSvgRenderer renderer(artwork);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        QCOMPARE(built, Artwork::draw(renderer, pixels, background));
    }

    // A picture shows the build's drawing at the size it was made for, the artwork drawn anew at any
    // other size, and nothing for artwork that is not there.
    void pictureShowsItsArtworkAtAnySize_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("the size the build drew") << QSize(328, 160);
        QTest::newRow("another size") << QSize(200, 90);
    }
    void pictureShowsItsArtworkAtAnySize() {
        QFETCH(QSize, size);
        Picture picture;
        picture.setSource(u":/access/login-logo.svg"_s);
        picture.resize(size);
        QImage shown(size, QImage::Format_ARGB32_Premultiplied);
        shown.fill(Qt::transparent);
        picture.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        QSvgRenderer renderer(u":/access/login-logo.svg"_s);
        renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
        QCOMPARE(shown, Artwork::draw(renderer, size, Artwork::Background::Transparent));

        picture.setSource(u":/access/missing.svg"_s);
        shown.fill(Qt::transparent);
        picture.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        QCOMPARE(shown.pixelColor(size.width() / 2, size.height() / 2), QColor(Qt::transparent));
    }

    void placeholderIsTheDrawnArtwork() {
        QSvgRenderer renderer(u":/editor/placeholder.svg"_s);
        QCOMPARE(PhotoStore::placeholder(),
                 Artwork::draw(renderer, PhotoStore::kPlaceholderSize, Artwork::Background::White));
    }

    void fixedDialogKeepsItsSizeAndIgnoresEscape() {
        QDialog dialog;
        dialog.resize(388, 405);
        auto* button = new QPushButton(u"OK"_s, &dialog);
        WindowFrame::makeFixedDialog(&dialog, WindowFrame::Centre::Screen);
        QCOMPARE(dialog.minimumSize(), QSize(388, 405));
        QCOMPARE(dialog.maximumSize(), QSize(388, 405));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(dialog.windowFlags() & Qt::WindowSystemMenuHint));
        QVERIFY(!button->autoDefault());
        showAndActivate(&dialog);
        QCOMPARE(dialog.frameGeometry().center(), dialog.screen()->availableGeometry().center());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
    }

    // Long work runs off the window's thread behind a window with "Annulla": a quick one simply ends;
    // "Annulla" tells the work to stop and the run says it was cancelled; an error of the work reaches
    // the caller.
    void workProgress() {
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        QVERIFY(WorkProgress::run(&owner, u"Prova"_s, u"Lavoro breve"_s,
                                  [](const WorkProgress::Report& report) { report(1, 1); }));
        bool seen = false;
        std::atomic<int> reports{0};
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY(qobject_cast<QDialog*>(QApplication::activeModalWidget()));
            auto* window = QApplication::activeModalWidget();
            QCOMPARE(window->objectName(), u"frmAvanzamento"_s);
            QCOMPARE(window->windowTitle(), u"Prova"_s);
            QCOMPARE(window->findChild<QLabel*>(u"lblAvanzamento"_s)->text(), u"Lavoro lungo"_s);
            window->findChild<QPushButton*>(u"btnAnnulla"_s)->click();
            seen = true;
        });
        const bool finished =
            WorkProgress::run(&owner, u"Prova"_s, u"Lavoro lungo"_s, [&](const WorkProgress::Report& report) {
                for (int done = 0;; ++done) {
                    ++reports;
                    if (!report(done, 1000000))
                        return;
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            });
        QVERIFY(seen);
        QVERIFY(!finished);
        QVERIFY(reports > 1);
        QTRY_VERIFY(!QApplication::activeModalWidget());

        QVERIFY_THROWS_EXCEPTION(
            std::runtime_error,
            WorkProgress::run(&owner, u"Prova"_s, u"Errore"_s,
                              [](const WorkProgress::Report&) { throw std::runtime_error("disco pieno"); }));
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
