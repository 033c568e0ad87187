// The process-wide formatting settings: the short date format "dd/mm/yyyy", where each "/" stands for
// the system's date separator, and "," as decimal separator. Start-up works them out from the system's
// regional settings and puts them in force before the first window is made; the windows that turn
// dates into text assert them again when they are made, which costs nothing and changes nothing.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

namespace ProcessFormats {

// Works the two settings out from the system's regional settings and puts them in force; start-up
// calls it once, before the first window.
void startUp();
// Puts the two settings in force, the same values every time: the ones start-up worked out, worked
// out here only when start-up has not run (a window made on its own).
void apply();

// The regional settings the separator is read from: the system's, unless a test fixed others.
QLocale systemLocale();
// Fixes the regional settings (tests); std::nullopt returns to the system's. Takes effect at the next
// start-up, or at the next apply() when no start-up follows.
void setSystemLocale(std::optional<QLocale> locale);

// The date separator of the system's short date format: a punctuation mark or a symbol as the system
// gives it ("/", ".", "-"), "/" when the system separates with a blank or a letter or not at all.
QChar systemDateSeparator();

// The short date format in force, as a QDate format: "dd/MM/yyyy" with the system's separator
// once the settings are in force, the system's own short format before.
QString shortDateFormat();
QChar decimalSeparator();

// A date as the program writes it: two-digit day, two-digit month, four-digit year.
QString dateText(QDate date);
// The date a card's date text stands for: day, month and four-digit year joined by one separator, the
// same twice, whichever it is (a book keeps the dates written under the regional settings of the
// computer it was filled on). Blanks around it do not count. An invalid date for any other text, and
// for a day that is not in the calendar (31/04/2024).
QDate dateFromText(const QString& text);

} // namespace ProcessFormats
