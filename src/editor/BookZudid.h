// The record editor, which shows and edits the cards of one book.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmBookZudid;
}

class TfrmBookZudid final : public QWidget {
    Q_OBJECT

public:
    explicit TfrmBookZudid(QWidget* parent = nullptr);
    ~TfrmBookZudid() override;

    // Takes the book to show: its name, shown in the banner, and the path of its archive.
    void openBook(const QString& bookName, const QString& archivePath);
    QString bookName() const { return m_bookName; }
    QString archivePath() const { return m_archivePath; }

protected:
    // Closing goes back to the launcher.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmBookZudid> ui;
    QString m_bookName;
    QString m_archivePath;
};
