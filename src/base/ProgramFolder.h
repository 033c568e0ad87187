// The folder that holds the program: every book, photo, attachment, the password store, the export
// file and the guide live there, so copying it is a full backup. The names of those files are built
// here and nowhere else.
#pragma once

#include <QString>

namespace ProgramFolder {

// The folder in use: the executable's folder at run time; tests set a temporary folder.
QString path();
void setPath(const QString& folder);

// A file or folder directly inside the program folder.
QString file(const QString& name);

// A file or folder directly inside a folder, whatever its name: joined as text, since QDir::filePath
// gives back a name that looks absolute as it is, and one that starts with ":" names a Qt resource.
QString inFolder(const QString& folder, const QString& name);

// The archive file of a book: the book name followed by ".wmn".
QString archiveOf(const QString& bookName);

// The guide document delivered beside the program.
QString guide();

// The password store, delivered beside the program with the initial password.
QString passwordStore();

// The spreadsheet export file, replaced by every export.
QString exportFile();

// The program's own files that an install puts beside the books (see the install rules in
// src/app/CMakeLists.txt): the executable, its icon and its desktop entry.
QString executable();
QString icon();
QString desktopEntry();

inline constexpr char16_t kArchiveExtension[] = u".wmn";
inline constexpr char16_t kGuideFileName[] = u"Guida.pdf";
inline constexpr char16_t kPasswordStoreFileName[] = u"unins000.dll";
inline constexpr char16_t kExportFileName[] = u"Rove_Roruvorerud.xls";
inline constexpr char16_t kExecutableFileName[] = u"lumivera";
inline constexpr char16_t kIconFileName[] = u"lumivera.svg";
inline constexpr char16_t kDesktopEntryFileName[] = u"lumivera.desktop";

} // namespace ProgramFolder
