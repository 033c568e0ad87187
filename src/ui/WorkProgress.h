// Long work (a PDF of many cards, an import of many photos) done on a worker thread while a window shows
// how far it went and offers "Annulla". The window appears only when the work lasts long enough to be
// seen, and is modal while it is up: the rest of the program waits for the work, the screen is never
// frozen.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace WorkProgress {

// What the work calls now and then with what it has done out of its total; false once the user
// cancelled, after which the work stops as soon as it can.
using Report = std::function<bool(int done, int total)>;
using Work = std::function<void(const Report& report)>;

// Runs the work on a worker thread and waits for it, the window (its caption `title`, its line
// `what`) up over the owner from the moment the work has lasted kShowAfterMs. An exception the work
// throws is thrown again here. False when the work was told to stop (a report answered false); a
// cancel the work never heard of, after its last report, leaves it done.
bool run(QWidget* owner, const QString& title, const QString& what, const Work& work);

inline constexpr int kShowAfterMs = 300;

} // namespace WorkProgress
