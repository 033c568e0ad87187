// The information window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmInfo;
}

class TfrmInfo final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmInfo(QWidget* parent = nullptr);
    ~TfrmInfo() override;

private:
    std::unique_ptr<Ui::TfrmInfo> ui;
};
