// The attachments window: up to three files with a description each for the card on screen. Chosen
// files are copied into the attachments folder at once; the six texts go back to the editor only when
// the user applies them.
#pragma once

#include <QDialog>

#include <array>
#include <memory>

namespace Ui {
class TfrmAllegaCartella;
}
class QLineEdit;
class QPushButton;

class TfrmAllegaCartella final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmAllegaCartella(QWidget* parent = nullptr);
    ~TfrmAllegaCartella() override;

    // The card's six values in record order: File01, File02, File03, Desc01, Desc02, Desc03.
    using Values = std::array<QString, 6>;
    void setValues(const Values& values);
    Values values() const;

    // Whose slots the window edits; without the editor's tag "Applica e chiudi" does nothing.
    void setCallerTag(const QString& tag) { m_callerTag = tag; }
    static QString editorTag() { return QStringLiteral("bookdonne"); }

    static QString overwriteQuestion();

private:
    struct Slot {
        QLineEdit* file;
        QLineEdit* description;
        QPushButton* open;
    };
    void btnSfogliaClick(int slot);
    void btnApriClick(int slot);
    void btnApplicaClick();

    std::unique_ptr<Ui::TfrmAllegaCartella> ui;
    std::array<Slot, 3> m_slots;
    QString m_callerTag;
};
