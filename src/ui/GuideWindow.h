// The guide window: one help topic (a title and its paragraphs) and a link to the guide document
// "Guida.pdf" beside the program. Every window with a help command opens it through showHelp().
#pragma once

#include "base/HelpTopics.h"

#include <QDialog>

#include <memory>

namespace Ui {
class GuideWindow;
}

class GuideWindow final : public QDialog {
    Q_OBJECT

public:
    explicit GuideWindow(QWidget* parent = nullptr);
    ~GuideWindow() override;

    void setTopic(const HelpTopic& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void lnkWebClick();

    std::unique_ptr<Ui::GuideWindow> ui;
};

// Opens a new guide window owned by the opener, modally, with the topic; discarded when it closes.
void showHelp(QWidget* opener, const HelpTopic& topic);
