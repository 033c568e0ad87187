// What the program keeps on disk, judged at a path: the command line writes its exports and PDF files
// wherever the user says, and a slip of the keyboard or a link must never put one in place of a book,
// its journal or backups, the password store, a photo, an attached document or the program itself.
//
// Paths are judged as the system reaches them: links followed, in folder parts too and in chains,
// "." and ".." taken as the folders they lead to. File names are compared without regard to letter
// case, as they are on the FAT and exFAT keys the program folder is carried on.
#pragma once

#include <QString>

#include <optional>

namespace KeptFiles {

// The absolute path that a write to the given path reaches: every link followed and "." and ".."
// removed. A file that does not exist yet is resolved through the folder that holds it, a link that
// leads nowhere through its target. Empty when links lead round in a loop or too deep.
QString resolved(const QString& path);

// What the program keeps at a resolved path, said for the user as the object of "il file ... è"
// ("l'archivio del book \"Altro\"", "la cartella delle foto dei book"); nothing when the path is none
// of the program's own files and lies in none of its folders. The export file of the program folder
// is not kept: every export replaces it.
std::optional<QString> whatIsKept(const QString& resolvedPath);

// A file name that is, or may become, the archive of a book: one ending in ".wmn", in any case.
bool hasArchiveName(const QString& path);

} // namespace KeptFiles
