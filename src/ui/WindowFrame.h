// The two kinds of window the program has, and how windows made per opening are shown.
// A fixed dialog keeps the client size it was laid out with, has a single non-resizable border and no
// caption-bar buttons, is left only through its own buttons (Escape presses the one DialogKeys names,
// and is ignored where none is named) and is centred on the screen or on its owner when shown. A maximised
// window opens maximised and keeps its content in a fixed-size panel centred in it. Both are painted with a
// vertical gradient behind their controls.
#pragma once

#include <QColor>
#include <QDialog>

#include <utility>

namespace WindowFrame {

enum class Centre { Screen, Owner };

void makeFixedDialog(QDialog* window, Centre centre);
void makeMaximised(QWidget* window, QWidget* panel);
// A maximised window showing one picture: its panel, and the picture filling it, are as large as the
// screen less 60 units wide and 90 high.
void makeMaximisedPicture(QWidget* window, QWidget* panel, QWidget* picture);
void setGradient(QWidget* window, const QColor& top, const QColor& bottom);

// The colours the windows share.
inline const QColor kSteelBlue{0x46, 0x82, 0xB4};
inline const QColor kWhite{Qt::white};

} // namespace WindowFrame

// Opens a window of class W made anew, owned by the opener, modally; prepare fills it before it is
// shown, and accepted takes its results when it closes accepted. The window is discarded when it
// closes, so every opening starts from a fresh window.
template <class W, class Prepare, class Accepted>
int openModal(QWidget* owner, Prepare&& prepare, Accepted&& accepted) {
    W window(owner);
    prepare(window);
    const int result = window.exec();
    if (result == QDialog::Accepted)
        accepted(std::as_const(window));
    return result;
}

template <class W, class Prepare> int openModal(QWidget* owner, Prepare&& prepare) {
    return openModal<W>(owner, std::forward<Prepare>(prepare), [](const W&) {});
}

template <class W> int openModal(QWidget* owner) {
    return openModal<W>(owner, [](W&) {});
}
