// A test-only program for tst_photoimport: it imports the pictures of a folder into a book and stops
// itself dead (SIGKILL, as a crash or a power cut would stop it) at a chosen step of the photos' writes
// or of the archive's operations.
//
//   tst_import_crash <program folder> <book> <folder of pictures> photos|archive <step>
//
// Exit status: 0 when the import ended before that step, 2 bad arguments; killed otherwise.
#include "FaultyFileSystem.h"
#include "archive/core/PhotoImport.h"
#include "base/ProcessFormats.h"
#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool ok = false;
    const int step = arguments.value(5).toInt(&ok);
    const QString seam = arguments.value(4);
    if (arguments.size() != 6 || !ok ||
        (seam != QStringLiteral("photos") && seam != QStringLiteral("archive")))
        return 2;
    ProgramFolder::setPath(arguments.at(1));
    ProcessFormats::apply();
    std::optional<FaultyReplacer> photos;
    std::optional<FaultyFileSystem> archive;
    if (seam == QStringLiteral("photos"))
        photos.emplace(step, FaultyFileSystem::Kind::Crash);
    else
        archive.emplace(step, FaultyFileSystem::Kind::Crash);
    const PhotoImport::Plan plan = PhotoImport::gather({arguments.at(3)}, false);
    try {
        PhotoImport::run(arguments.at(2), plan);
    } catch (...) {
    }
    return 0;
}
