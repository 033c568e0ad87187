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

protected:
    // Closing goes back to the launcher.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmBookZudid> ui;
};
