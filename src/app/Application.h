// The application object: the Italian translations of Qt's own buttons and dialogs, and the one
// report for an error that no operation caught, shown with the error's own text before the program
// goes on.
#pragma once

#include <QApplication>

class LumiveraApplication final : public QApplication {
public:
    LumiveraApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
