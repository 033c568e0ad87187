#include "editor/windows/AttachmentsWindow.h"
#include "ui_AttachmentsWindow.h"

#include "archive/core/AttachmentFolder.h"
#include "archive/core/Cp1252.h"
#include "base/TextRules.h"
#include "ui/DialogKeys.h"
#include "ui/FieldStart.h"
#include "ui/FileDialogs.h"
#include "ui/Messages.h"
#include "ui/OpenURL.h"
#include "ui/StorableTextValidator.h"
#include "ui/WindowFrame.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

AttachmentsWindow::AttachmentsWindow(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::AttachmentsWindow>()) {
    ui->setupUi(this);
    setWindowTitle(QStringLiteral(" Allega file"));
    WindowFrame::makeFixedDialog(this, WindowFrame::Centre::Screen);
    WindowFrame::setGradient(this, QColor(0xD3, 0xD3, 0xD3), WindowFrame::kWhite);

    m_slots = {{{ui->txtFile01, ui->txtDesc01, ui->btnApri01},
                {ui->txtFile02, ui->txtDesc02, ui->btnApri02},
                {ui->txtFile03, ui->txtDesc03, ui->btnApri03}}};
    const std::array<QPushButton*, 3> browse = {ui->btnSfoglia01, ui->btnSfoglia02, ui->btnSfoglia03};
    const std::array<Picture*, 3> clear = {ui->imgCancella01, ui->imgCancella02, ui->imgCancella03};
    for (int s = 0; s < 3; ++s) {
        const Slot slot = m_slots[s];
        // "Apri" is there exactly when the slot names a file.
        connect(slot.file, &QLineEdit::textChanged, this,
                [slot](const QString& name) { slot.open->setEnabled(!TextRules::trim(name).isEmpty()); });
        connect(browse[s], &QPushButton::clicked, this, [this, s] { btnSfogliaClick(s); });
        connect(slot.open, &QPushButton::clicked, this, [this, s] { btnApriClick(s); });
        connect(clear[s], &Picture::clicked, this, [slot] { slot.file->clear(); });
        StorableTextField::install(slot.description, Cp1252::holds, Cp1252::plainLetters);
        // A long name or description is read from its beginning.
        FieldStart::install(slot.file);
        FieldStart::install(slot.description);
    }
    // A file dropped anywhere on a place: the panel takes what its labels, frames and buttons do not,
    // and the two fields give up a dropped file, which they would otherwise take as text.
    m_places = {ui->shpSlot01, ui->shpSlot02, ui->shpSlot03};
    ui->panContainer->setAcceptDrops(true);
    ui->panContainer->installEventFilter(this);
    for (const Slot& slot : m_slots) {
        slot.file->installEventFilter(this);
        slot.description->installEventFilter(this);
    }
    connect(ui->btnApplica, &QPushButton::clicked, this, &AttachmentsWindow::btnApplicaClick);
    connect(ui->btnAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    DialogKeys::install(this, {ui->btnApplica}, {ui->btnAnnulla});
}

AttachmentsWindow::~AttachmentsWindow() = default;

QString AttachmentsWindow::overwriteQuestion() {
    return QStringLiteral(
        "Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso "
        "nome.\r\n\r\nSi vuole sovrascrivere il file esistente?");
}

void AttachmentsWindow::setValues(const Values& values) {
    for (int s = 0; s < 3; ++s) {
        m_slots[s].file->setText(TextRules::trim(values[s]));
        m_slots[s].description->setText(TextRules::trim(values[3 + s]));
    }
}

AttachmentsWindow::Values AttachmentsWindow::values() const {
    Values values;
    for (int s = 0; s < 3; ++s) {
        values[s] = TextRules::trim(m_slots[s].file->text());
        values[3 + s] = TextRules::trim(m_slots[s].description->text());
    }
    return values;
}

void AttachmentsWindow::btnSfogliaClick(int slot) {
    const QString chosen = FileDialogs::openFile(
        this,
        {QStringLiteral("Selezionare il file da allegare:"), {QStringLiteral("Tutti i file (*)")}, {}, {}});
    if (!chosen.isEmpty())
        attach(slot, chosen);
}

void AttachmentsWindow::attach(int slot, const QString& chosen) {
    const QString name = QFileInfo(chosen).fileName();
    const QString storable = AttachmentFolder::storableName(name);
    if (storable == TextRules::trim(name)) {
        // A name the card stores as it is: the file is kept under it, as it always was.
        m_slots[slot].file->setText(name);
        if (!AttachmentFolder::ensureFolder())
            return;
        if (AttachmentFolder::contains(name) &&
            !consents(MessageBox(overwriteQuestion(), MsgKind::Confirmation, MsgButtons::YesNo)))
            return;                             // the slot names the file already in the folder
        AttachmentFolder::copyIn(chosen, name); // a failed copy leaves the folder as it was, silently
        return;
    }
    // Any other name is kept under a name the card stores, never over another file of the folder.
    m_slots[slot].file->setText(storable);
    if (!AttachmentFolder::ensureFolder())
        return;
    const QString kept = AttachmentFolder::keptNameFor(chosen, storable);
    m_slots[slot].file->setText(kept);
    if (!AttachmentFolder::contains(kept)) // else it holds these very bytes already
        AttachmentFolder::copyIn(chosen, kept);
}

int AttachmentsWindow::slotAt(QPoint onPanel) const {
    for (int s = 0; s < 3; ++s) {
        if (m_places[s]->geometry().contains(onPanel))
            return s;
    }
    return -1;
}

bool AttachmentsWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QDialog::eventFilter(watched, event);
    auto* drag = static_cast<QDropEvent*>(event);
    const QMimeData* dragged = drag->mimeData();
    // One file of the computer: a folder, a device, several files or a web address are no attachment.
    const bool oneFile = dragged->hasUrls() && dragged->urls().size() == 1 &&
                         dragged->urls().first().isLocalFile() &&
                         QFileInfo(dragged->urls().first().toLocalFile()).isFile();
    auto* widget = static_cast<QWidget*>(watched);
    const QPoint onPanel = widget->mapTo(ui->panContainer, drag->position().toPoint());
    const int slot = oneFile ? slotAt(onPanel) : -1;
    if (slot < 0) {
        if (!dragged->hasUrls())
            return QDialog::eventFilter(watched, event); // text dragged into a field stays the field's
        drag->ignore();
        return true;
    }
    drag->acceptProposedAction();
    if (type == QEvent::Drop)
        attach(slot, dragged->urls().first().toLocalFile());
    return true;
}

void AttachmentsWindow::btnApriClick(int slot) {
    const QString path = AttachmentFolder::pathOf(m_slots[slot].file->text());
    if (path.isEmpty())
        return; // a name with folder parts opens nothing
    if (!TMisc::Open(u'"' + QDir::toNativeSeparators(path) + u'"'))
        MessageBox(TMisc::notOpenedMessage(path), MsgKind::Warning, MsgButtons::Ok);
}

void AttachmentsWindow::btnApplicaClick() {
    if (m_opener == Opener::Editor)
        accept();
}
