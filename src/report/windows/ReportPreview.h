// The engine's preview window: the prepared report on screen, maximised and modal, opening at 100 %,
// with exactly four commands (print, zoom, full screen, close) and nothing to edit.
#pragma once

#include "report/core/ReportLayout.h"

#include <QDialog>

#include <memory>
#include <optional>

class QAction;
class QPrinter;
class QPrintPreviewWidget;
class QToolBar;
class QToolButton;

class ReportPreview final : public QDialog {
    Q_OBJECT

public:
    // Draws the report's pages for the preview before the window can be shown: a Report::ReportError
    // when one of them cannot be drawn, and no window.
    explicit ReportPreview(const Report::PreparedReport& report, QWidget* parent = nullptr);
    ~ReportPreview() override;

    // The zoom steps the zoom command offers, as factors of the real size.
    static const QList<int>& zoomSteps();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void printClicked();
    void setZoomPercent(int percent);
    void showTopOfFirstPage();
    void toggleFullScreen(bool on);

    Report::PreparedReport m_report;
    std::unique_ptr<QPrinter> m_printer; // the page the preview draws on
    QToolBar* m_toolBar = nullptr;
    QPrintPreviewWidget* m_view = nullptr;
    QToolButton* m_zoomButton = nullptr;
    QAction* m_fullScreen = nullptr;
    bool m_firstShow = true;
    std::optional<Report::ReportError> m_failure; // why the pages could not be drawn
};
