#include "editor/windows/EditorHints.h"
#include "ui_EditorWindow.h"

#include "ui/CommandKeys.h"
#include "ui/Picture.h"
#include "ui/StatusHints.h"

namespace EditorHints {

void install(QWidget* window, const Ui::EditorWindow& form) {
    auto* hints = new StatusHints(window, form.panInfo);
    // Every button with its hint and its key, in the order Tab reaches them after the fields.
    const struct {
        Picture* button;
        QString hint;
        QKeySequence key;
    } commands[] = {
        {form.impData, QStringLiteral("Inserisci la data corrente."), Qt::CTRL | Qt::Key_T},
        {form.btnCaricaFoto, QStringLiteral("Carica una foto esistente."), Qt::CTRL | Qt::Key_O},
        {form.btnSalvaFoto, QStringLiteral("Salva la foto su disco."), Qt::CTRL | Qt::SHIFT | Qt::Key_S},
        {form.btnCancFoto, QStringLiteral("Cancella la foto."), Qt::CTRL | Qt::SHIFT | Qt::Key_Delete},
        {form.btnZoomFoto, QStringLiteral("Visualizza la foto nelle sue dimensioni reali."), Qt::Key_F11},
        {form.cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda."),
         Qt::CTRL | Qt::Key_N},
        {form.cmdDuplica,
         QStringLiteral(
             "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti."),
         Qt::CTRL | Qt::Key_D},
        {form.cmdSalva, QStringLiteral("Salva la scheda in archivio."), Qt::CTRL | Qt::Key_S},
        {form.cmdTrova, QStringLiteral("Trova una scheda in archivio."), Qt::CTRL | Qt::Key_F},
        {form.cmdFile, QStringLiteral("Allega file alla scheda."), Qt::CTRL | Qt::SHIFT | Qt::Key_A},
        {form.cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa della scheda."),
         Qt::CTRL | Qt::Key_P},
        {form.cmdStampa, QStringLiteral("Stampa la scheda."), Qt::CTRL | Qt::SHIFT | Qt::Key_P},
        {form.cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio."), Qt::CTRL | Qt::Key_Home},
        {form.cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio."), Qt::Key_PageUp},
        {form.cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio."), Qt::Key_PageDown},
        {form.cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio."), Qt::CTRL | Qt::Key_End},
        {form.cmdEsporta, QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel."),
         Qt::CTRL | Qt::SHIFT | Qt::Key_E},
        {form.cmdSlideshow, QStringLiteral("Esegui lo Slide Show del book fotografico."), Qt::Key_F5},
        {form.cmdProvino, QStringLiteral("Mostra il provino: le miniature di tutte le schede del book."),
         Qt::CTRL | Qt::Key_G},
        {form.cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto."),
         Qt::Key_F1},
        {form.cmdEsci, QStringLiteral("Esci da questa schermata di lavoro."), Qt::CTRL | Qt::Key_W},
    };
    QWidget* previous = form.txtNote;
    for (const auto& command : commands) {
        hints->addHint(command.button, command.hint);
        CommandKeys::bind(window, command.button, command.key, command.hint);
        QWidget::setTabOrder(previous, command.button);
        previous = command.button;
    }
    hints->addHint(form.txtData, QStringLiteral("Fai clic su questo campo e premi un tasto qualsiasi per "
                                                "importare una data dal calendario."));
    for (QWidget* area : std::initializer_list<QWidget*>{
             form.panContainer, form.shpContainer, form.shpEsci, form.shpRiepiloghi, form.shpRecord,
             form.shpAnteprima, form.shpStampa, form.shpNuovo, form.shpSezione01, form.shpSfondo,
             form.shpFoto, static_cast<QWidget*>(form.imgFoto), form.bkgPulsantiFoto})
        hints->addClearingArea(area);
    hints->install();
}

} // namespace EditorHints
