#include "output/windows/CardPrintJob.h"

#include "app/Windows.h"
#include "base/TextRules.h"
#include "editor/windows/BookZudid.h"
#include "editor/windows/PhotoFrame.h"
#include "report/windows/ReportPrinting.h"

#include <QLineEdit>

CardPrintJob::CardPrintJob()
    : m_page(CardPage::makeTemplate()) {}

void CardPrintJob::takePhoto(const QImage& placeholder) {
    QImage copied;
    if (TfrmBookZudid* editor = Windows::frmBookZudid) {
        if (PhotoFrame* frame = editor->photoFrame())
            copied = frame->photo().full();
    }
    m_photo = copied.isNull() ? placeholder : copied;
}

CardPage::Values CardPrintJob::editorValues() {
    CardPage::Values values;
    TfrmBookZudid* editor = Windows::frmBookZudid;
    if (!editor)
        return values;
    // The page takes what the editor's fields show, saved or not.
    const auto field = [editor](const QString& name) {
        const auto* edit = editor->findChild<QLineEdit*>(name);
        return edit ? TextRules::trim(edit->text()) : QString();
    };
    values.title = field(QStringLiteral("txtTitolo"));
    values.bookName = TextRules::trim(editor->bookName());
    values.date = field(QStringLiteral("txtData"));
    for (std::size_t i = 0; i < CardPage::kFieldObjects.size(); ++i)
        values.fields[i] = field(QString::fromUtf16(CardPage::kFieldObjects[i]));
    return values;
}

bool CardPrintJob::run(Output output, QWidget* parent) {
    CardPage::Values values = editorValues();
    values.photo = m_photo;
    CardPage::fill(m_page, values);
    m_prepared = Report::prepare(m_page);
    if (output == Output::Preview) {
        ReportPrinting::preview(m_prepared, parent);
        return true;
    }
    return ReportPrinting::print(m_prepared, parent);
}
