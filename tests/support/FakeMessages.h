// Stands in for the message boxes while it lives: records every box asked for and answers from a
// script (OK, Yes for a question, Annulla for the choice between two versions of a card, when the
// script is empty).
#pragma once

#include "ui/Messages.h"

#include <QList>

class FakeMessages final : public MessageService {
public:
    struct Asked {
        QString text;
        MsgKind kind;
        MsgButtons buttons;
        MsgDefault defaultButton; // the button Return would press
    };

    FakeMessages() { setMessageService(this); }
    ~FakeMessages() override { setMessageService(nullptr); }

    MsgAnswer show(const QString& text, MsgKind kind, MsgButtons buttons, MsgDefault defaultButton) override;

    QList<Asked> asked;
    QList<MsgAnswer> answers;
};
