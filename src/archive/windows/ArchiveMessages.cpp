#include "archive/windows/ArchiveMessages.h"

#include "archive/core/BookArchive.h"
#include "ui/Messages.h"

void showArchiveAccessMessage() {
    MessageBox(BookArchive::accessMessage(), MsgKind::Error, MsgButtons::OkCancel);
}
