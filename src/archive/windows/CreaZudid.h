// The create-book window: makes a new, empty book from the name the user types.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmCreaZudid;
}

class TfrmCreaZudid final : public QWidget {
    Q_OBJECT

public:
    explicit TfrmCreaZudid(QWidget* parent = nullptr);
    ~TfrmCreaZudid() override;

    static QString noNameMessage();
    static QString nameTakenMessage();
    static QString unsafeNameMessage();
    static QString createdMessage();

protected:
    void showEvent(QShowEvent* event) override;
    // Closing, for whatever reason, goes back to the launcher.
    void closeEvent(QCloseEvent* event) override;

private:
    void btnApplicaClick();
    void imgGuidaClick();

    std::unique_ptr<Ui::TfrmCreaZudid> ui;
    QString m_path; // the archive being created
};
