// The program's only message dialogs. MessageBox shows a modal box of one of five kinds with one of
// its button sets and returns the answer; ShowMessage is the plain box with OK. Both go through one
// replaceable service, so tests read what was asked and answer it.
#pragma once

#include <QString>

enum class MsgKind { Warning, Error, Information, Confirmation, Plain };
enum class MsgButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,           // Sì, No, Annulla: closing the box answers Annulla
    ReloadOverwriteCancel, // "Mostra l'altra versione", "Sovrascrivi", Annulla (the default)
};
enum class MsgAnswer { Ok, Cancel, Yes, No, Reload, Overwrite };
// The button that Return presses: the set's own (OK, Yes in a question, Annulla in the choice between
// two versions of a card), or No in a question whose Yes cannot be undone, so that a hasty Return
// loses nothing.
enum class MsgDefault { First, No };

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MsgAnswer show(const QString& text, MsgKind kind, MsgButtons buttons,
                           MsgDefault defaultButton) = 0;
};

MsgAnswer MessageBox(const QString& text, MsgKind kind, MsgButtons buttons,
                     MsgDefault defaultButton = MsgDefault::First);
void ShowMessage(const QString& text);

// In a confirmation only No stops the operation. Closing a confirmation box without choosing answers
// No, so it stops too; closing any other box goes on as OK does.
inline bool consents(MsgAnswer answer) {
    return answer != MsgAnswer::No;
}

// The general report of an error that no operation handles: an error box with the error's own text,
// after which the program goes on.
void reportUnexpectedError(const QString& text);

// Installs a replacement service (not owned); nullptr puts the real message boxes back.
void setMessageService(MessageService* service);
