// The attachments folder "Documenti_Allegati" beside the program: one flat folder for every book and
// card, holding the attached files under their own names, or under a name a card can store when the
// own name is not one. A card keeps only each file's bare name.
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

// The longest name a card stores for an attached file: the capacity of File01-03.
inline constexpr int kLongestName = 250;

// The name under which a file of that name is kept, so that the card stores exactly the name on disk:
// the name trimmed and normalised to NFC; each character that Windows-1252 lacks written with its plain
// letters where it has some ("Ł" as "L", "ś" as "s"), an accent that no letter takes dropped, and any
// other character, as well as the folder separators and control codes that no attachment name may
// hold, written "_"; then cut to kLongestName characters, the extension kept. A name that a card
// stores as it is comes back unchanged (trimmed).
QString storableName(const QString& name);

// The name under which the file at source is kept when it is attached under the storable name: that
// name when the folder holds nothing under it, otherwise the first of "name (2).ext", "name (3).ext" ...
// (cut, the extension kept, to kLongestName characters) that is free. A name whose file already holds
// the same bytes as the source (the same document attached again, or the very file) is taken too, and
// needs no copy. No other file of the folder is ever chosen, so none is copied over.
QString keptNameFor(const QString& source, const QString& name);

} // namespace AttachmentFolder
