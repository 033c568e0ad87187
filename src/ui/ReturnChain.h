// What the Return key does in a window's edit fields and lists, declared as one table per window:
// Return moves the focus to the next control of the chain, or runs the control's action. The control
// still sees the key, yet it goes no further: the window's own Return (DialogKeys) presses no button.
#pragma once

#include <QWidget>

#include <functional>
#include <initializer_list>
#include <variant>

namespace ReturnChain {

struct Link {
    QWidget* field;
    // The control that takes the focus, or the action that Return runs in this field.
    std::variant<QWidget*, std::function<void()>> next;
};

void install(std::initializer_list<Link> chain);

} // namespace ReturnChain
