// The create-book window.
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

protected:
    // Closing goes back to the launcher.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmCreaZudid> ui;
};
