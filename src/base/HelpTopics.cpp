#include "HelpTopics.h"

namespace HelpTopics {

HelpTopic creaZudid() {
    return {
        QStringLiteral("App Creazione book fotografico."),
        {
            QStringLiteral("L'app Creazione book fotografico permette di generare un nuovo book indicandone "
                           "il nome per esteso nell'apposito campo di testo e confermando l'operazione "
                           "servendosi del pulsante in calce."),
            QStringLiteral("Quando si crea un nuovo book fotografico si genera un file di archivio nella "
                           "cartella del programma caratterizzato dall'estensione WMN. Ogni book può "
                           "contenere un numero illimitato di schede, ciascuna con una foto e i relativi "
                           "commenti."),
            QStringLiteral("Per individuare il book fotografico creato senza possibilità di errore, è buona "
                           "norma assegnargli un nome il più possibile completo utilizzando parole chiave "
                           "che indichino, ad esempio, il nome della modella e il destinatario dello stesso "
                           "book."),
            QStringLiteral("Una volta indicato il nome del book fotografico nell'apposita casella di testo, "
                           "l'utente dovrà confermare l'operazione premendo il pulsante Applica e chiudi. Il "
                           "programma torna allora alla schermata iniziale, dove il pulsante Apri book "
                           "fotografico esistente mostra l'elenco di tutti i book creati: per aprirne uno "
                           "basta fare clic sul suo nome e premere il pulsante Apri archivio."),
            QStringLiteral("L'icona del cestino consente di eliminare il book fotografico selezionato. Va "
                           "usata con grande cautela, perché un book eliminato non può più essere "
                           "recuperato."),
            QStringLiteral("Il fatto che tutti i file degli archivi sono posizionati nella cartella di "
                           "installazione del programma rende molto semplice realizzare una copia di "
                           "sicurezza dei book fotografici creati. Per farla basta copiare l'intera cartella "
                           "del programma su un altro supporto, come un disco rigido esterno o una chiavetta "
                           "USB."),
        }};
}

HelpTopic bookZudid() {
    return {
        QStringLiteral("App Gestione book fotografico."),
        {
            QStringLiteral(
                "L'app Gestione book fotografico consente di creare le singole pagine di ogni book "
                "fotografico da visualizzare a schermo o stampare su carta."),
            QStringLiteral(
                "I dati da indicare nella scheda riguardano il titolo della foto, una sua "
                "descrizione, la data dello scatto, la location, il nome del fotografo, la marca e "
                "il modello della fotocamera utilizzata, l'eventuale ricorso al fotoritocco, gli "
                "abiti indossati dalla modella, gli accessori, il trucco, il proprio giudizio "
                "sulla qualità della foto e ogni ulteriore annotazione."),
            QStringLiteral("In ogni scheda è possibile importare una foto della modella in formato Jpeg o "
                           "Bitmap. Le foto possono essere conservate sul disco del computer e importate nel "
                           "book con il pulsante di caricamento. La foto viene ridotta automaticamente per "
                           "adattarsi al riquadro di anteprima. Facendo clic sull'icona dello zoom è "
                           "possibile visualizzare l'immagine a schermo intero. Con gli appositi pulsanti "
                           "ogni foto può essere salvata su disco o cancellata in qualsiasi momento."),
            QStringLiteral(
                "Per compilare una nuova scheda del book fotografico, bisogna fare clic sul "
                "pulsante Nuovo, compilare i campi di testo, caricare una foto e premere Salva. "
                "Per creare una nuova scheda che conservi tutti i campi di testo di una scheda già "
                "presente in archivio, basta premere Duplica, apportare le modifiche, caricare la "
                "nuova foto e fare clic su Salva."),
            QStringLiteral("La funzione Allega file consente di associare a ciascuna scheda del book "
                           "fotografico tre file di qualsiasi genere che potrebbero contenere, ad esempio, "
                           "documenti riguardanti il servizio fotografico in questione."),
            QStringLiteral("Il pulsante Trova consente di effettuare una ricerca fra le schede del book "
                           "fotografico e di richiamare quella di proprio interesse con un doppio clic."),
            QStringLiteral(
                "Il pulsante Slide Show mostra in sequenza ad intervalli di sei secondi e a schermo "
                "intero tutte le foto delle modelle presenti nel book. Dopo l'ultima foto in "
                "archivio la presentazione riprende dall'inizio. Un clic in qualsiasi punto dello "
                "schermo chiude lo Slide Show."),
            QStringLiteral("In qualsiasi momento è possibile visualizzare l'anteprima di stampa della pagina "
                           "corrente del book fotografico facendo clic sul pulsante Anteprima. Il pulsante "
                           "Stampa consente di stampare la stessa pagina su carta. I dati testuali di ogni "
                           "book possono inoltre essere esportati in un foglio di Microsoft Excel, così da "
                           "condividerli con chi non dispone del programma. Il foglio si apre con qualsiasi "
                           "applicazione che gestisca il formato XLS, come Microsoft Excel, LibreOffice Calc "
                           "o WPS Office."),
        }};
}

QList<HelpTopic> all() {
    return {creaZudid(), bookZudid()};
}

} // namespace HelpTopics
