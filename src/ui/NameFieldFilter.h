// The book-name field refuses thirteen characters as they are typed: " * / : < > ? \ ° Ç Ñ ç ñ.
// Every other character is accepted, the vertical bar included. Pasted text is not filtered here.
#pragma once

#include <QChar>
#include <QWidget>

namespace NameFieldFilter {

bool refuses(QChar c);
void install(QWidget* field);

} // namespace NameFieldFilter
