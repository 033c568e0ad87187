// The spreadsheet export window: the open book's cards in a grid, where the retouching and judgement
// texts can be changed for the export only, and the command that writes them all to the export file
// in the program folder and offers to open it.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class ExportWindow;
}
class CardGridModel;

class ExportWindow final : public QDialog {
    Q_OBJECT

public:
    explicit ExportWindow(QWidget* parent = nullptr);
    ~ExportWindow() override;

    // The book exported: the path of its archive, read when the window is shown.
    void setArchivePath(const QString& path) { m_archivePath = path; }

    // The grid's rows, as shown and as exported.
    CardGridModel* grid() const { return m_grid; }

    static QString exportQuestion();
    // The question after an export, naming the file written, with its folder.
    static QString exportedQuestion(const QString& path);
    static QString failureMessage();

protected:
    // Each showing by the program fills the grid again from the book.
    void showEvent(QShowEvent* event) override;

private:
    void installHints();
    void cmdEsportaClick();

    std::unique_ptr<Ui::ExportWindow> ui;
    CardGridModel* m_grid;
    QString m_archivePath;
};
