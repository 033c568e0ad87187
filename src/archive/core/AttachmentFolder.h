// The attachments folder "Documenti_Allegati" beside the program: one flat folder for every book and
// card, holding the attached files under their own names. A card keeps only each file's bare name.
// Nothing here ever reaches outside the folder, deletes a file or leaves one half-written.
#pragma once

#include <QString>

namespace AttachmentFolder {

QString folder();

// The full path of an attached file, from its name (trimmed); empty when the name is empty or names
// anything but a file directly in the folder (folder parts, "." or "..").
QString pathOf(const QString& name);

// Creates the folder and its missing parents; false when it cannot.
bool ensureFolder();

// True when a file of that name is already in the folder.
bool contains(const QString& name);

// Copies a file into the folder under the given name, replacing a file of that name whole: the copy
// goes to a temporary file first and takes the name only when complete. A file copied onto itself is
// left as it is. False when the source is no regular file (a pipe or a device would keep the copy
// waiting for ever) or the copy could not be made; the folder then holds what it held before.
bool copyIn(const QString& source, const QString& name);

} // namespace AttachmentFolder
