// The hints the editor's status line shows for its commands, its photo buttons and its date field.
#pragma once

class QWidget;
namespace Ui {
class TfrmBookZudid;
}

namespace EditorHints {

// Installs the hints on the editor's controls; the areas around them clear the line.
void install(QWidget* window, const Ui::TfrmBookZudid& form);

} // namespace EditorHints
