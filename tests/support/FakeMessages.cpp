#include "FakeMessages.h"

MsgAnswer FakeMessages::show(const QString& text, MsgKind kind, MsgButtons buttons) {
    asked.append({text, kind, buttons});
    if (!answers.isEmpty())
        return answers.takeFirst();
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}
