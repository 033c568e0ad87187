// The process-wide formatting settings: the short date format "dd/mm/yyyy", where each "/" stands for
// the system's date separator, and "," as decimal separator. Every window that turns dates into text
// applies them when it is made, so they hold from the launcher's creation on.
#pragma once

#include <QDate>
#include <QString>

namespace ProcessFormats {

// Sets the two settings; the same values every time.
void apply();

// The date separator the system uses in its short date format ("/" when it names none).
QChar systemDateSeparator();

// The short date format in force, as a QDate format: "dd/MM/yyyy" with the system's separator
// once apply() has run, the system's own short format before.
QString shortDateFormat();
QChar decimalSeparator();

// A date as the program writes it: two-digit day, two-digit month, four-digit year.
QString dateText(QDate date);

} // namespace ProcessFormats
