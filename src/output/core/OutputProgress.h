// What the outputs that take a while (the portfolio, the contact sheet, the export) say of their
// progress, and how one the user stopped ends. A window runs them on a worker thread beside a progress
// window with an "Annulla" button; the command line shows a percentage.
#pragma once

#include <functional>

namespace Output {

// Called after each card the output took, with the cards done and how many it takes in all: the
// output goes on while it returns true and stops as soon as it returns false.
using Progress = std::function<bool(int done, int total)>;

// How an output ended that did not fail: written whole, or stopped by its progress callback. A stopped
// output leaves no file, and the earlier file at its path exactly as it was; it is no failure, and
// nothing needs saying to the user, who asked for it.
enum class Ended { Written, Cancelled };

} // namespace Output
