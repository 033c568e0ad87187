// The attachments window.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmAllegaCartella;
}

class TfrmAllegaCartella final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAllegaCartella(QWidget* parent = nullptr);
    ~TfrmAllegaCartella() override;

private:
    std::unique_ptr<Ui::TfrmAllegaCartella> ui;
};
