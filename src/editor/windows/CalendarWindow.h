// The calendar window: the user picks a day to import; the opener puts the chosen date into its field.
#pragma once

#include <QDate>
#include <QDialog>

#include <memory>

namespace Ui {
class CalendarWindow;
}

class CalendarWindow final : public QDialog {
    Q_OBJECT

public:
    explicit CalendarWindow(QWidget* parent = nullptr);
    ~CalendarWindow() override;

    // Who opened the window: only for the editor does "Importa" import a date and close the window.
    enum class Opener { Other, Editor };
    void setOpener(Opener opener) { m_opener = opener; }

    // The day the calendar opens on: the card's date, when the opener has one. Without a date, or with
    // one the calendar cannot show, it opens on today.
    void setDate(QDate date);
    // The day chosen, once the window was closed by "Importa".
    QDate date() const;

private:
    void btnImportaDataClick();

    std::unique_ptr<Ui::CalendarWindow> ui;
    Opener m_opener = Opener::Other;
};
