// Stands in for the desktop shell while it lives and records what it was asked to open; `opens` says
// whether the desktop has a program for it.
#pragma once

#include "ui/OpenURL.h"

#include <QStringList>

class FakeShell final : public ShellService {
public:
    FakeShell() { TMisc::setShell(this); }
    ~FakeShell() override { TMisc::setShell(nullptr); }
    bool open(const QString& command) override {
        opened.append(command);
        return opens;
    }

    QStringList opened;
    bool opens = true;
};
