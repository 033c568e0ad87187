// The file-open and file-save dialogs, behind one replaceable entry point so tests choose the files.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

struct FileDialogRequest {
    QString title;
    QStringList filters;   // in Qt's form, "Immagine JPEG (*.jpg *.jpeg)"; the first is selected
    QString proposedName;  // save only
    QString defaultSuffix; // save only: added to a name typed without an extension
    QString folder = {};   // the folder the dialog opens in; empty: the dialog's own choice
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file's path, or an empty text when the user cancelled.
    virtual QString openFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // The chosen file's path; the dialog has asked before an existing file is replaced.
    virtual QString saveFile(QWidget* parent, const FileDialogRequest& request) = 0;
};

namespace FileDialogs {

QString openFile(QWidget* parent, const FileDialogRequest& request);
QString saveFile(QWidget* parent, const FileDialogRequest& request);

// Installs a replacement (not owned); nullptr puts the real dialogs back.
void setService(FileDialogService* service);

} // namespace FileDialogs
