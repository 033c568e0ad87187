// Stands in for the desktop shell while it lives and records what it was asked to open.
#pragma once

#include "ui/OpenURL.h"

#include <QStringList>

class FakeShell final : public ShellService {
public:
    FakeShell() { TMisc::setShell(this); }
    ~FakeShell() override { TMisc::setShell(nullptr); }
    void open(const QString& command) override { opened.append(command); }

    QStringList opened;
};
