// The calendar window: the user picks a day and imports it into the card's date field.
#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

namespace Ui {
class TfrmCalendario;
}

class TfrmCalendario final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmCalendario(QWidget* parent = nullptr);
    ~TfrmCalendario() override;

    // Where the imported date goes; without the editor's tag "Importa" does nothing.
    void setCallerTag(const QString& tag) { m_callerTag = tag; }
    static QString editorTag() { return QStringLiteral("databookdonne"); }

private:
    void btnImportaDataClick();

    std::unique_ptr<Ui::TfrmCalendario> ui;
    QString m_callerTag;
};
