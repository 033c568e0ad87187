// The record editor: shows the cards of one book one at a time with their photo, moves through them,
// and is the starting point of every other operation on the book.
#pragma once

#include "archive/core/CardNavigation.h"
#include "archive/core/CardSave.h"
#include "archive/core/PhotoFacts.h"
#include "archive/core/PhotoPrefetch.h"
#include "archive/core/TScheda.h"
#include "output/core/CardPage.h"

#include <QWidget>

#include <array>
#include <memory>
#include <optional>

namespace Ui {
class EditorWindow;
}
class QLineEdit;
class OverviewWindow;
class PhotoView;
class StatusHints;

class EditorWindow final : public QWidget {
    Q_OBJECT

public:
    explicit EditorWindow(QWidget* parent = nullptr);
    ~EditorWindow() override;

    // Takes the book to show: its name, shown in the banner, and the path of its archive.
    void openBook(const QString& bookName, const QString& archivePath);
    QString bookName() const { return m_bookName; }
    QString archivePath() const { return m_archivePath; }

    // The card on screen: its position (none for a new card), its attachment values (File01-03,
    // Desc01-03) and its photo frame.
    std::optional<int> position() const { return m_position; }
    // The photos of the cards next to the one on screen, decoded ahead of time.
    const PhotoPrefetch& neighbourPhotos() const { return m_photos; }
    const std::array<QString, 6>& attachments() const { return m_attachments; }
    PhotoView* photoFrame() const;

    // The card on screen as the card preview and print take it, saved or not: its twelve texts as a
    // save stores them (trimmed), the book's name and the photo frame's picture at full size (the
    // placeholder when the frame shows it).
    CardPage::Values cardValues() const;

    // Shows a card just read: its twelve fields and six attachment values, its position, and its photo.
    void showCard(const TScheda& card, int position);
    // An empty new card: empty fields and attachments, the placeholder, no position, focus on the title.
    void clearCard();

    // Replaces the attachment values of the card on screen (File01-03, Desc01-03), trimmed.
    void setAttachments(const std::array<QString, 6>& values);

    // Puts a date, as date text, into the card's date field.
    void setDateText(const QString& text);

    static QString emptyArchiveMessage();
    static QString missingMessage(TScheda::Field field);
    static QString unstorableMessage(const CardSave::Unstorable& unstorable);
    static QString overwrittenMessage();
    static QString appendedMessage();
    static QString photoNotSavedMessage();
    static QString duplicateNewCardMessage();
    static QString duplicatedMessage();
    static QString unsavedChangesQuestion();
    static QString changedElsewhereMessage();
    static QString goneMessage(int position);
    // The status line after a loaded photo filled empty fields, naming them as their labels do.
    static QString filledFromPhotoMessage(const QList<TScheda::Field>& fields);
    static QString photoFillUndoneMessage();

    // True when the card on screen differs from what was shown or last saved: any of the twelve
    // fields, the six attachment values or the photo.
    bool hasUnsavedChanges() const;

    // The book's thumbnails, opened with "Provino" (Ctrl+G); none before.
    OverviewWindow* overview() const { return m_overview.get(); }

Q_SIGNALS:
    // The window was closed: the program goes back to the launcher.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing asks first about changes not saved, and stays open when the user cancels.
    void closeEvent(QCloseEvent* event) override;
    // Ctrl+Z right after a photo filled fields puts them back, wherever the focus is.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What becomes of changes not saved before a command leaves the card: none to settle, dropped
    // by the user, saved, or the user stays on the card.
    enum class Settled { Unchanged, Dropped, Saved, Stay };

    void navigate(CardNavigation::Move move);
    // "Carica foto": the picture into the frame, and what it says about itself into the empty fields.
    void loadPhoto();
    void fillFromPhoto(const PhotoFacts::Facts& facts);
    // Whether the fields still hold what the last photo put in, so that Ctrl+Z can take it back.
    bool photoFillUndoable() const;
    void undoPhotoFill();
    PhotoFacts::CardTexts fieldTexts() const;
    void cmdNuovoClick();
    // Asks whether to save the card's changes, when it has any, and saves them on Sì.
    Settled settleChanges();
    // Saves the card on screen with every check and message of the save; true when the card and its
    // photo are on disk.
    bool saveCard();
    // What the card on screen now is: the point its changes are measured from.
    void rememberShown();
    void cmdDuplicaClick();
    // A key in the read-only date field: Backspace and Delete empty it, any other key opens the calendar.
    bool txtDataKeyDown(int key);
    void openCalendar();
    void cmdFileClick();
    void cmdTrovaClick();
    // Shows a card chosen elsewhere (a search hit, a thumbnail), asking first about changes not saved.
    void showChosenCard(int position);
    void openOverview();
    void setPosition(std::optional<int> position);
    // The twelve edit fields in the order of the card's fields Titolo ... Note.
    std::array<QLineEdit*, 12> cardFields() const;
    // The card's texts in record order as the fields and the attachments hold them, as typed: what a
    // save writes.
    CardSave::Texts cardTexts() const;

    std::unique_ptr<Ui::EditorWindow> ui;
    QString m_bookName;
    QString m_archivePath;
    std::optional<int> m_position;
    std::array<QString, 6> m_attachments;
    TScheda m_record; // receives every card read and is filled before every card written
    // The card at the position as this copy last read or saved it, so a save can tell whether another
    // copy of the program changed it since.
    CardSave::Seen m_seen;
    // The card as shown or last saved, what its changes are measured from.
    struct Shown {
        CardSave::Texts texts;
        bool placeholder = true;
        qint64 photo = 0; // the frame's picture
        bool operator==(const Shown&) const = default;
    };
    Shown shownNow() const;
    Shown m_shown;
    PhotoPrefetch m_photos;
    // The twelve texts before and after a photo filled some of them: one step that Ctrl+Z takes back
    // while the fields are as the photo left them.
    struct PhotoFill {
        PhotoFacts::CardTexts before;
        PhotoFacts::CardTexts after;
    };
    std::optional<PhotoFill> m_photoFill;
    CardNavigation::Move m_lastMove = CardNavigation::Move::Next;
    // A window of its own, not kept above the editor by the window manager, so that the editor comes
    // to the front with the card chosen in it.
    std::unique_ptr<OverviewWindow> m_overview;
};
