// The seventeen windows that start-up makes, in their fixed order. Six of them are used for the whole
// run through the references of Windows.h; the other eleven are made anew at every opening, and the
// instances made here are never shown.
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class WindowSet {
public:
    // Makes the seventeen windows in order; the first, the login window, is the main window.
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    // Shows the first window of the run.
    void start();

    // The windows in the order they were made.
    const std::vector<QWidget*>& windows() const { return m_order; }

private:
    std::vector<std::unique_ptr<QWidget>> m_owned;
    std::vector<QWidget*> m_order;
};
