// The process-wide formatting settings: the short date format "dd/mm/yyyy", where each "/" stands for
// the system's date separator, and "," as decimal separator. Every window that turns dates into text
// applies them when it is made, so they hold from the launcher's creation on.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace ProcessFormats {

// Sets the two settings; the same values every time.
void apply();

// The regional settings the separator is read from: the system's, unless a test fixed others.
QLocale systemLocale();
// Fixes the regional settings (tests); std::nullopt returns to the system's. Takes effect at the next
// apply().
void setSystemLocale(std::optional<QLocale> locale);

// The date separator of the system's short date format: a punctuation mark or a symbol as the system
// gives it ("/", ".", "-"), "/" when the system separates with a blank or a letter or not at all.
QChar systemDateSeparator();

// The short date format in force, as a QDate format: "dd/MM/yyyy" with the system's separator
// once apply() has run, the system's own short format before.
QString shortDateFormat();
QChar decimalSeparator();

// A date as the program writes it: two-digit day, two-digit month, four-digit year.
QString dateText(QDate date);

} // namespace ProcessFormats
