// The whole book at a glance: every card as a thumbnail of its photo with its position, title and date,
// in book order, in a grid that scrolls through any number of cards (only what is on the screen is
// made; thumbnails are decoded on worker threads). Three thumbnail sizes, also by Ctrl+wheel; the
// keyboard moves through the grid, Return or a double-click shows the card in the editor, and one or
// many cards can be selected. A thumbnail dragged out gives its photo file; picture files (or folders
// of them) dropped on the grid become new cards, as `lumivera import` makes them. The book, or the
// cards selected, go from here into a PDF portfolio, a contact sheet or an export file.
#pragma once

#include "archive/core/CardOverviewModel.h"
#include "archive/core/PhotoImport.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class OverviewWindow;
}
class QAbstractButton;
class QScreen;

class OverviewWindow final : public QWidget {
    Q_OBJECT

public:
    explicit OverviewWindow(QWidget* parent = nullptr);
    ~OverviewWindow() override;

    // The book shown; the grid starts at its first card.
    void setBook(const QString& bookName, const QString& archivePath);
    static QString captionFor(const QString& bookName);

    // The width of a thumbnail's box at each size, from the smallest (layout units); the box is a
    // portrait 3:4, as the photo frame.
    static constexpr std::array<int, 3> kSizes = {120, 180, 260};
    int sizeIndex() const { return m_size; }
    void setSizeIndex(int index);

    // The cards selected, by position, in book order.
    QList<int> selectedPositions() const;
    // Makes the card the current one, selected alone and scrolled into view.
    void showPosition(int position);

    CardOverviewModel& model() { return m_model; }

    // Appends one card per picture among the files and folders, in the order the photos were taken,
    // with the work's progress shown; then selects the new cards and names what was not added.
    void importFiles(const QStringList& paths);
    // The message after an import, naming what was not added and the cards still to complete; empty
    // when there is nothing to say.
    static QString importReport(const PhotoImport::Plan& plan, const PhotoImport::Outcome& outcome);

    // The three outputs of the whole book or of the cards selected ("Solo le schede selezionate"): a
    // save-file window asks where, the work runs with its progress and Annulla, and the user is told
    // where the file went. A cancelled or failed output leaves no file and the earlier one as it was.
    enum class Output { Portfolio, ContactSheet, Export };
    void writeOutput(Output output);
    static QString writtenMessage(Output output, const QString& path);
    static QString noSelectionMessage();

    // Takes most of that screen, centred on it.
    void placeOnScreen(const QScreen* screen);

Q_SIGNALS:
    // The user asked to see this card in the editor (Return, or a double-click).
    void cardChosen(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void updateVisibleRows();
    void updateCount();
    void updateSelectionCount();

    std::unique_ptr<Ui::OverviewWindow> ui;
    CardOverviewModel m_model;
    std::array<QAbstractButton*, 3> m_sizeButtons{};
    int m_size = 1;
    QTimer m_recheck; // looks at the book again now and then: cards saved, photos changed
};
