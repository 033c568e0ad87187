// The search window: finds the cards of the open book by the text of ten fields, lists one line per
// card found, jumps through the lines with the quick find, and hands a double-clicked card's position
// back to the opener, which shows that card.
#pragma once

#include "search/core/CardSearch.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

namespace Ui {
class SearchWindow;
}
class QLineEdit;
class ResultListModel;

class SearchWindow final : public QDialog {
    Q_OBJECT

public:
    explicit SearchWindow(QWidget* parent = nullptr);
    ~SearchWindow() override;

    // The book searched: the path of its archive.
    void setArchivePath(const QString& path) { m_archivePath = path; }
    // Who opened the window: only the editor is handed back a double-clicked card.
    enum class Opener { Other, Editor };
    void setOpener(Opener opener) { m_opener = opener; }
    // The position of the card double-clicked on the list, once the window is closed; none when the
    // window was closed otherwise.
    std::optional<int> chosenPosition() const { return m_chosen; }

    static QString countLine(int lines);
    static QString emptyListMessage();

    const ResultListModel& results() const { return *m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::array<QLineEdit*, 10> criteriaFields() const;
    void btnCercaClick();
    void btnTrovaClick();
    void lstRecordsDoubleClick();
    void lstRecordsReturn();
    void btnStampaClick();

    std::unique_ptr<Ui::SearchWindow> ui;
    ResultListModel* m_model;
    QString m_archivePath;
    Opener m_opener = Opener::Other;
    std::optional<int> m_chosen;
};
