// The guide window, which shows one help topic.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmGuida;
}

class TfrmGuida final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmGuida(QWidget* parent = nullptr);
    ~TfrmGuida() override;

private:
    std::unique_ptr<Ui::TfrmGuida> ui;
};
