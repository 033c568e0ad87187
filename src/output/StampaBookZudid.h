// The window that prints the card on an A4 page, with the texts and the photo that the record editor shows.
#pragma once

#include "CardPrintJob.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TfrmStampaBookZudid;
}

class TfrmStampaBookZudid final : public QDialog {
    Q_OBJECT

public:
    explicit TfrmStampaBookZudid(QWidget* parent = nullptr);
    ~TfrmStampaBookZudid() override;

    static QString failureMessage();

    // The photo the page will carry (imgLogo), copied from the editor when the window was shown.
    const QImage& photo() const { return m_job.photo(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnStampaClick();

    std::unique_ptr<Ui::TfrmStampaBookZudid> ui;
    CardPrintJob m_job;
};
