// The hints the editor's status line shows for its commands, its photo buttons and its date field, and
// the keys of those buttons: each also in the button's tooltip, and each button reached with Tab after
// the twelve fields (the date button, the photo buttons, then the toolbar).
#pragma once

class QWidget;
namespace Ui {
class EditorWindow;
}

namespace EditorHints {

// Installs the hints and keys on the editor's controls; the areas around them clear the line.
void install(QWidget* window, const Ui::EditorWindow& form);

} // namespace EditorHints
