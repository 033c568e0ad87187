#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramFolder {

namespace {
QString& current() {
    static QString folder;
    return folder;
}
} // namespace

QString path() {
    if (current().isEmpty())
        current() = QCoreApplication::applicationDirPath();
    return current();
}

void setPath(const QString& folder) {
    current() = QDir::cleanPath(folder);
}

QString file(const QString& name) {
    return inFolder(path(), name);
}

QString inFolder(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

QString archiveOf(const QString& bookName) {
    return file(bookName + QStringView(kArchiveExtension));
}

QString guide() {
    return file(QString::fromUtf16(kGuideFileName));
}

QString passwordStore() {
    return file(QString::fromUtf16(kPasswordStoreFileName));
}

QString exportFile() {
    return file(QString::fromUtf16(kExportFileName));
}

QString executable() {
    return file(QString::fromUtf16(kExecutableFileName));
}

QString icon() {
    return file(QString::fromUtf16(kIconFileName));
}

QString desktopEntry() {
    return file(QString::fromUtf16(kDesktopEntryFileName));
}

} // namespace ProgramFolder
