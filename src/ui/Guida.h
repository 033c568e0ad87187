// The guide window: one help topic (a title and its paragraphs) and a link to the guide document
// "Guida.pdf" beside the program. Every window with a help command opens it through showHelp().
#pragma once

#include "base/HelpTopics.h"

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

    void setTopic(const HelpTopic& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::TfrmGuida> ui;
};

// Opens a new guide window owned by the opener, modally, with the topic; discarded when it closes.
void showHelp(QWidget* opener, const HelpTopic& topic);
