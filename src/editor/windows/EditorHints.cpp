#include "editor/windows/EditorHints.h"
#include "ui_BookZudid.h"

#include "ui/StatusHints.h"

namespace EditorHints {

void install(QWidget* window, const Ui::TfrmBookZudid& form) {
    auto* hints = new StatusHints(window, form.panInfo);
    const std::pair<QWidget*, QString> commands[] = {
        {form.cmdNuovo, QStringLiteral("Prepara la schermata per l'inserimento di una nuova scheda.")},
        {form.cmdDuplica,
         QStringLiteral(
             "Prepara la schermata per l'inserimento di una nuova scheda duplicando i dati correnti.")},
        {form.cmdSalva, QStringLiteral("Salva la scheda in archivio.")},
        {form.cmdPrimo, QStringLiteral("Visualizza la prima scheda in archivio.")},
        {form.cmdIndietro, QStringLiteral("Visualizza la scheda precedente in archivio.")},
        {form.cmdAvanti, QStringLiteral("Visualizza la scheda successiva in archivio.")},
        {form.cmdUltimo, QStringLiteral("Visualizza l'ultima scheda in archivio.")},
        {form.cmdTrova, QStringLiteral("Trova una scheda in archivio.")},
        {form.cmdFile, QStringLiteral("Allega file alla scheda.")},
        {form.cmdAnteprima, QStringLiteral("Visualizza l'anteprima di stampa della scheda.")},
        {form.cmdStampa, QStringLiteral("Stampa la scheda.")},
        {form.cmdEsporta, QStringLiteral("Esporta le schede in archivio in un file di Microsoft Excel.")},
        {form.cmdSlideshow, QStringLiteral("Esegui lo Slide Show del book fotografico.")},
        {form.cmdGuida, QStringLiteral("Visualizza la pagina della guida sensibile al contesto.")},
        {form.cmdEsci, QStringLiteral("Esci da questa schermata di lavoro.")},
        {form.btnCaricaFoto, QStringLiteral("Carica una foto esistente.")},
        {form.btnSalvaFoto, QStringLiteral("Salva la foto su disco.")},
        {form.btnCancFoto, QStringLiteral("Cancella la foto.")},
        {form.btnZoomFoto, QStringLiteral("Visualizza la foto nelle sue dimensioni reali.")},
        {form.impData, QStringLiteral("Inserisci la data corrente.")},
        {form.txtData,
         QStringLiteral("Fai clic su questo campo e premi un tasto qualsiasi per importare una data "
                        "dal calendario.")},
    };
    for (const auto& [control, hint] : commands)
        hints->addHint(control, hint);
    for (QWidget* area : std::initializer_list<QWidget*>{
             form.panContainer, form.shpContainer, form.shpEsci, form.shpRiepiloghi, form.shpRecord,
             form.shpAnteprima, form.shpStampa, form.shpNuovo, form.shpSezione01, form.shpSfondo,
             form.shpFoto, static_cast<QWidget*>(form.imgFoto), form.bkgPulsantiFoto})
        hints->addClearingArea(area);
    hints->install();
}

} // namespace EditorHints
