// Today's date, the one place the program asks the system clock; tests fix it.
#pragma once

#include <QDate>

#include <optional>

namespace Clock {

QDate today();
// Fixes today's date (tests); std::nullopt returns to the system clock.
void setToday(std::optional<QDate> date);

} // namespace Clock
