#include "FakeMessages.h"

MsgAnswer FakeMessages::show(const QString& text, MsgKind kind, MsgButtons buttons,
                             MsgDefault defaultButton) {
    asked.append({text, kind, buttons, defaultButton});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}
