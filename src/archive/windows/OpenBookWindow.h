// The open-book window: lists the books of the program folder, opens the chosen one in the record
// editor, or deletes it.
#pragma once

#include <QWidget>

#include <memory>
#include <optional>

namespace Ui {
class OpenBookWindow;
}

class OpenBookWindow final : public QWidget {
    Q_OBJECT

public:
    explicit OpenBookWindow(QWidget* parent = nullptr);
    ~OpenBookWindow() override;

    static QString emptyListMessage();
    static QString selectToOpenMessage();
    static QString selectToDeleteMessage();
    // The question before a book is deleted, naming the book and, when its archive could be read, how
    // many cards it holds.
    static QString deleteQuestion(const QString& bookName, std::optional<int> cards);
    static QString deletedMessage();
    static QString notDeletedMessage(const QString& why = {});
    static QString countLine(int books);

Q_SIGNALS:
    // The window was closed by "Apri archivio" on a book: its name and the path of its archive.
    void bookChosen(const QString& bookName, const QString& archivePath);
    // The window was closed otherwise: the program goes back to the launcher.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Where closing the window leads.
    enum class CloseReason { BackToLauncher, OpenEditor };

    void listBooks();
    // The selected list entry, or an empty text after the warning that explains why there is none.
    QString selectedEntry(const QString& noSelectionMessage);
    void btnApriClick();
    void btnEliminaClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::OpenBookWindow> ui;
    QString m_path;     // the chosen archive
    QString m_bookName; // its book name
    CloseReason m_closeReason = CloseReason::BackToLauncher;
};
