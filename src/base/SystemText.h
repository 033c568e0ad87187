// The system's words for a failed file operation, said in Italian for the user. The system (and Qt,
// which passes them on) speaks the language of the C library, English on most machines; a message of
// the program says what happened in Italian and keeps the system's own words after it, in brackets,
// for whoever has to look the failure up.
#pragma once

#include <QString>

namespace SystemText {

// The failure of the given errno code: "nome di file troppo lungo (File name too long)".
QString ofCode(int code);

// The same for words already taken from the system or from Qt ("No space left on device"): known ones
// get their Italian words in front; any other text is returned as it is.
QString italian(const QString& systemWords);

} // namespace SystemText
