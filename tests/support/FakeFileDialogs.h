// Stands in for the file dialogs while it lives: records what was asked and answers from a script
// (an empty answer is a cancel).
#pragma once

#include "ui/FileDialogs.h"

#include <QList>

class FakeFileDialogs final : public FileDialogService {
public:
    FakeFileDialogs() { FileDialogs::setService(this); }
    ~FakeFileDialogs() override { FileDialogs::setService(nullptr); }

    QString openFile(QWidget*, const FileDialogRequest& request) override { return answer(request); }
    QString saveFile(QWidget*, const FileDialogRequest& request) override { return answer(request); }

    QList<FileDialogRequest> asked;
    QStringList answers;

private:
    QString answer(const FileDialogRequest& request) {
        asked.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};
