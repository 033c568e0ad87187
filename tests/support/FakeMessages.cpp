#include "FakeMessages.h"

MsgAnswer FakeMessages::show(const QString& text, MsgKind kind, MsgButtons buttons,
                             MsgDefault defaultButton) {
    asked.append({text, kind, buttons, defaultButton});
    if (!answers.isEmpty())
        return answers.takeFirst();
    switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
        return MsgAnswer::Yes;
    case MsgButtons::ReloadOverwriteCancel:
        return MsgAnswer::Cancel;
    default:
        return MsgAnswer::Ok;
    }
}
