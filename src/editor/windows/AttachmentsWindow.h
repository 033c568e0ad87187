// The attachments window: up to three files with a description each for the card on screen. Chosen
// files are copied into the attachments folder at once; the opener takes the six texts back only when
// the user applies them. A file dragged from a file manager onto one of the three places fills that
// place as its "Sfoglia" does.
#pragma once

#include <QDialog>

#include <array>
#include <memory>

namespace Ui {
class AttachmentsWindow;
}
class QLineEdit;
class QFrame;
class QPushButton;

class AttachmentsWindow final : public QDialog {
    Q_OBJECT

public:
    explicit AttachmentsWindow(QWidget* parent = nullptr);
    ~AttachmentsWindow() override;

    // The card's six values in record order: File01, File02, File03, Desc01, Desc02, Desc03.
    using Values = std::array<QString, 6>;
    void setValues(const Values& values);
    Values values() const;

    // Who opened the window: only for the editor does "Applica e chiudi" apply the values and close it.
    enum class Opener { Other, Editor };
    void setOpener(Opener opener) { m_opener = opener; }

    static QString overwriteQuestion();

private:
    struct Slot {
        QLineEdit* file;
        QLineEdit* description;
        QPushButton* open;
    };
    void btnSfogliaClick(int slot);
    // Puts the file in the slot, copied into the attachments folder, as "Sfoglia" does with the file
    // chosen.
    void attach(int slot, const QString& chosen);
    // The place under a point of the panel, or -1.
    int slotAt(QPoint onPanel) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void btnApriClick(int slot);
    void btnApplicaClick();

    std::unique_ptr<Ui::AttachmentsWindow> ui;
    std::array<Slot, 3> m_slots;
    std::array<QFrame*, 3> m_places;
    Opener m_opener = Opener::Other;
};
