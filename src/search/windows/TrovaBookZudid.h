// The search window: finds the cards of the open book by the text of ten fields, lists one line per
// card found, jumps through the lines with the quick find, and shows a double-clicked card in the editor.
#pragma once

#include "search/core/CardSearch.h"

#include <QDialog>

#include <array>
#include <memory>

namespace Ui {
class TfrmTrovaBookZudid;
}
class QLineEdit;
class ResultListModel;

class TfrmTrovaBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmTrovaBookZudid(QWidget* parent = nullptr);
    ~TfrmTrovaBookZudid() override;

    // Whose card a double-click shows; without the editor's tag a double-click shows nothing.
    void setCallerTag(const QString& tag) { m_callerTag = tag; }
    static QString editorTag() { return QStringLiteral("bookdonne"); }

    static QString countLine(int lines);
    static QString emptyListMessage();

    const ResultListModel& results() const { return *m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    std::array<QLineEdit*, 10> criteriaFields() const;
    void btnCercaClick();
    void btnTrovaClick();
    void lstRecordsDoubleClick();
    void btnStampaClick();

    std::unique_ptr<Ui::TfrmTrovaBookZudid> ui;
    ResultListModel* m_model;
    QString m_callerTag;
};
