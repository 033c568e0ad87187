#include "ui/Messages.h"

#include "base/Replaceable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class QtMessageService final : public MessageService {
public:
    MsgAnswer show(const QString& text, MsgKind kind, MsgButtons buttons, MsgDefault defaultButton) override {
        QMessageBox box(QApplication::activeWindow());
        box.setText(text);
        box.setIcon(icon(kind));
        box.setWindowTitle(title(kind));
        QAbstractButton* reload = nullptr;
        QAbstractButton* overwrite = nullptr;
        switch (buttons) {
        case MsgButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MsgButtons::OkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case MsgButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(defaultButton == MsgDefault::No ? QMessageBox::No : QMessageBox::Yes);
            // A question closed without a choice (Escape, the close button) is answered No: nothing
            // is deleted, overwritten or exported that the user did not ask for.
            box.setEscapeButton(QMessageBox::No);
            break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::Yes);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case MsgButtons::ReloadOverwriteCancel: {
            reload = box.addButton(QStringLiteral("&Mostra l'altra versione"), QMessageBox::AcceptRole);
            overwrite = box.addButton(QStringLiteral("&Sovrascrivi"), QMessageBox::DestructiveRole);
            QPushButton* cancel = box.addButton(QMessageBox::Cancel);
            // Nothing of either version is dropped by Return or Escape.
            box.setDefaultButton(cancel);
            box.setEscapeButton(cancel);
            break;
        }
        }
        box.exec();
        if (box.clickedButton() && box.clickedButton() == reload)
            return MsgAnswer::Reload;
        if (box.clickedButton() && box.clickedButton() == overwrite)
            return MsgAnswer::Overwrite;
        switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        default: // closed without a button
            return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
        }
    }

private:
    static QMessageBox::Icon icon(MsgKind kind) {
        switch (kind) {
        case MsgKind::Warning:
            return QMessageBox::Warning;
        case MsgKind::Error:
            return QMessageBox::Critical;
        case MsgKind::Information:
            return QMessageBox::Information;
        case MsgKind::Confirmation:
            return QMessageBox::Question;
        case MsgKind::Plain:
            break;
        }
        return QMessageBox::NoIcon;
    }

    static QString title(MsgKind kind) {
        switch (kind) {
        case MsgKind::Warning:
            return QStringLiteral("Avviso");
        case MsgKind::Error:
            return QStringLiteral("Errore");
        case MsgKind::Information:
            return QStringLiteral("Informazione");
        case MsgKind::Confirmation:
            return QStringLiteral("Conferma");
        case MsgKind::Plain:
            break;
        }
        return QStringLiteral("Lumivera");
    }
};

using Seam = Replaceable<MessageService, QtMessageService>;

MessageService& service() {
    return Seam::current();
}

} // namespace

MsgAnswer MessageBox(const QString& text, MsgKind kind, MsgButtons buttons, MsgDefault defaultButton) {
    return service().show(text, kind, buttons, defaultButton);
}

void ShowMessage(const QString& text) {
    service().show(text, MsgKind::Plain, MsgButtons::Ok, MsgDefault::First);
}

void reportUnexpectedError(const QString& text) {
    MessageBox(text, MsgKind::Error, MsgButtons::Ok);
}

void setMessageService(MessageService* service) {
    Seam::replace(service);
}
