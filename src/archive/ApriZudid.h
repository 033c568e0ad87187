// The open-book window.
#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class TfrmApriZudid;
}

class TfrmApriZudid final : public QWidget {
    Q_OBJECT

public:
    explicit TfrmApriZudid(QWidget* parent = nullptr);
    ~TfrmApriZudid() override;

protected:
    // Closing goes back to the launcher.
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<Ui::TfrmApriZudid> ui;
};
