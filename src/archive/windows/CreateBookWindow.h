// The create-book window: makes a new, empty book from the name the user types.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class CreateBookWindow;
}

class CreateBookWindow final : public QWidget {
    Q_OBJECT

public:
    explicit CreateBookWindow(QWidget* parent = nullptr);
    ~CreateBookWindow() override;

    static QString noNameMessage();
    static QString nameTakenMessage();
    static QString unsafeNameMessage();
    // A name the file system or a USB key cannot hold for every file of the book, with the reason.
    static QString unusableNameMessage(const QString& reason);
    static QString createdMessage();

Q_SIGNALS:
    // The window was closed, for whatever reason: the program goes back to the launcher.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void btnApplicaClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::CreateBookWindow> ui;
    QString m_path; // the archive being created
};
