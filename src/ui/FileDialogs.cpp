#include "ui/FileDialogs.h"

#include "base/Replaceable.h"

#include <QFileDialog>

namespace {

class QtFileDialogs final : public FileDialogService {
public:
    QString openFile(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent, request.title, request.folder);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return run(dialog, request);
    }

    QString saveFile(QWidget* parent, const FileDialogRequest& request) override {
        QFileDialog dialog(parent, request.title, request.folder);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(request.defaultSuffix);
        dialog.selectFile(request.proposedName);
        return run(dialog, request);
    }

private:
    static QString run(QFileDialog& dialog, const FileDialogRequest& request) {
        dialog.setNameFilters(request.filters);
        if (!request.filters.isEmpty())
            dialog.selectNameFilter(request.filters.first());
        dialog.setSizeGripEnabled(true);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        return dialog.selectedFiles().first();
    }
};

using Seam = Replaceable<FileDialogService, QtFileDialogs>;

FileDialogService& service() {
    return Seam::current();
}

} // namespace

namespace FileDialogs {

QString openFile(QWidget* parent, const FileDialogRequest& request) {
    return service().openFile(parent, request);
}

QString saveFile(QWidget* parent, const FileDialogRequest& request) {
    return service().saveFile(parent, request);
}

void setService(FileDialogService* replacement) {
    Seam::replace(replacement);
}

} // namespace FileDialogs
