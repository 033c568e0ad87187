// The calendar window, which imports a date into the card.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmCalendario;
}

class TfrmCalendario final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCalendario(QWidget* parent = nullptr);
    ~TfrmCalendario() override;

private:
    std::unique_ptr<Ui::TfrmCalendario> ui;
};
