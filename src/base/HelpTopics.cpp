#include "base/HelpTopics.h"

namespace HelpTopics {

HelpTopic launcher() {
    return {
        QStringLiteral("Uno sguardo a Lumivera."),
        {
            QStringLiteral(
                "Lumivera è un software facile e intuitivo studiato per fotografi professionisti e "
                "agenzie di moda che realizzano servizi fotografici per la promozione di modelle di "
                "ogni età. Le applicazioni del programma permettono di creare un numero illimitato "
                "di book fotografici di persone che lavorano, o desiderano lavorare, nel mondo della "
                "moda, dello spettacolo, del commercio, della televisione, dell'editoria e delle "
                "pubbliche relazioni: modelle e modelli, hostess, interpreti, ballerine, "
                "presentatrici, attrici, comparse e tante altre figure professionali."),
            QStringLiteral(
                "Il software, quindi, consente di organizzare i servizi fotografici realizzati a "
                "favore delle modelle che lavorano per la propria agenzia mettendo a disposizione due "
                "applicazioni: la prima permette di creare un nuovo book fotografico, mentre la "
                "seconda va usata per aprire e compilare un book fotografico esistente. Per "
                "iniziare basta premere il pulsante dell'applicazione che si desidera utilizzare."),
            QStringLiteral(
                "L'app Creazione book fotografico permette di generare un nuovo book indicandone il "
                "nome per esteso nell'apposito campo di testo e confermando l'operazione servendosi "
                "del pulsante in calce."),
            QStringLiteral(
                "Quando si crea un nuovo book fotografico si genera un file di archivio nella "
                "cartella del programma caratterizzato dall'estensione WMN. Ogni book può contenere "
                "un numero illimitato di schede, ciascuna composta da una foto e dai relativi "
                "commenti."),
            QStringLiteral(
                "Per individuare il book fotografico creato senza possibilità di errore, è buona "
                "norma assegnargli un nome il più possibile completo utilizzando parole chiave che "
                "indichino, ad esempio, il nome della modella e il destinatario dello stesso book."),
            QStringLiteral(
                "Una volta indicato il nome del book fotografico nell'apposita casella di testo, "
                "l'utente dovrà confermare l'operazione premendo il pulsante Applica e chiudi. "
                "Tornati alla schermata iniziale, il pulsante Apri book fotografico esistente mostra "
                "l'elenco di tutti i book creati: per aprirne uno basta fare clic sul suo nome e "
                "premere il pulsante Apri archivio."),
            QStringLiteral(
                "L'icona del cestino consente di eliminare il book fotografico selezionato. Va usata "
                "con la massima cautela, perché un book eliminato è perso per sempre e non può più "
                "essere recuperato."),
            QStringLiteral(
                "Il fatto che tutti i file degli archivi sono posizionati nella cartella di "
                "installazione del programma rende molto semplice realizzare una copia di sicurezza "
                "dei book fotografici creati. Basta copiare l'intera cartella del programma su un "
                "qualsiasi supporto di memoria, come un disco rigido esterno o una chiavetta USB."),
            QStringLiteral(
                "L'app Gestione book fotografico consente di creare le singole pagine di ogni book "
                "fotografico da visualizzare a schermo o stampare su carta."),
            QStringLiteral(
                "I dati da indicare nella scheda riguardano il titolo della foto, una sua "
                "descrizione, la data dello scatto, la location, il nome del fotografo, la marca e il "
                "modello della fotocamera utilizzata, l'eventuale ricorso al fotoritocco, gli abiti "
                "indossati dalla modella, gli accessori, il trucco, il proprio giudizio sulla qualità "
                "della foto e ogni ulteriore annotazione."),
            QStringLiteral(
                "In ogni scheda è possibile importare una foto della modella in formato Jpeg o "
                "Bitmap. Le foto conservate sul disco del computer si importano con l'apposito "
                "pulsante e vengono ridotte automaticamente per adattarsi al riquadro di anteprima. "
                "Facendo clic sull'icona dello zoom la foto viene mostrata a schermo intero. In "
                "qualsiasi momento ogni foto può essere salvata su disco o cancellata."),
            QStringLiteral(
                "Per compilare una nuova scheda del book fotografico, bisogna fare clic sul pulsante "
                "Nuovo, compilare i campi di testo, caricare una foto e premere Salva. Per creare una "
                "nuova scheda che conservi il testo di una scheda già salvata, basta premere Duplica, "
                "modificare i dati necessari, caricare la nuova foto e premere Salva."),
            QStringLiteral(
                "La funzione Allega file consente di associare a ciascuna scheda del book fotografico "
                "tre file di qualsiasi genere che potrebbero contenere, ad esempio, documenti "
                "riguardanti il servizio fotografico in questione."),
            QStringLiteral("Il pulsante Trova consente di effettuare una ricerca fra le schede del book "
                           "fotografico e di richiamare quella di proprio interesse con un doppio clic."),
            QStringLiteral(
                "Il pulsante Slide Show mostra in sequenza ad intervalli di sei secondi e a schermo "
                "intero tutte le foto delle modelle presenti nel book. Dopo l'ultima foto la "
                "presentazione riprende dalla prima. Un clic in qualsiasi punto dello schermo chiude "
                "lo Slide Show."),
            QStringLiteral(
                "In qualsiasi momento è possibile visualizzare l'anteprima di stampa della pagina "
                "corrente del book fotografico facendo clic sul pulsante Anteprima. Il pulsante "
                "Stampa consente di stampare la pagina su carta. Il testo di ogni book può inoltre "
                "essere esportato in un foglio di Microsoft Excel, così da condividerlo con chi non "
                "dispone del programma: il foglio si apre con qualsiasi applicazione in grado di "
                "leggere i file in formato XLS, come Open Office, Libre Office o Microsoft Office."),
            QStringLiteral("Il software può essere utilizzato anche in una rete locale se si ha necessità di "
                           "condividere gli archivi fra più postazioni di lavoro."),
            QStringLiteral(
                "L'accesso al software è protetto da una password aggiornabile dall'utente che può "
                "essere cambiata tutte le volte che si desidera. Per il primo accesso occorre "
                "digitare la password iniziale \"lucepiumavelox\", senza le virgolette."),
            QStringLiteral(
                "Lumivera può essere utilizzato anche su chiavetta USB. Basta copiare la cartella del "
                "programma sulla chiavetta e fare doppio clic sull'icona del programma. Copiare la "
                "cartella su un dispositivo esterno è anche il modo più rapido per realizzare una "
                "copia di sicurezza di tutti gli archivi."),
            QStringLiteral(
                "Lumivera è quindi lo strumento ideale per le agenzie di modelle e fotomodelle che "
                "vogliono costruirsi, a tempo di record, un archivio fotografico da sfogliare con le "
                "aziende in cerca di personale da impiegare in sfilate, spettacoli, spot pubblicitari "
                "e quant'altro. L'utente scoprirà che il programma non richiede praticamente alcun "
                "tempo di apprendimento."),
        }};
}

HelpTopic createBook() {
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

HelpTopic editor() {
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
                "Una foto caricata con il pulsante di caricamento, o trascinata sul riquadro della foto, "
                "compila da sé i campi ancora vuoti con i dati che la fotocamera e i programmi di "
                "fotografia vi hanno scritto: la data dello scatto, la fotocamera, il fotografo, il "
                "titolo, la descrizione, la location e le parole chiave. I campi già scritti restano "
                "come sono; la riga di stato dice quali campi vengono dalla foto, e Ctrl+Z li riporta "
                "com'erano."),
            QStringLiteral(
                "Un intero servizio fotografico si aggiunge al book in un solo passo dalla riga di "
                "comando: lumivera import, seguito dal nome del book e dalla cartella delle foto, crea "
                "una scheda per ogni foto, in ordine di scatto, con i dati della foto. Se la foto non li "
                "porta, il titolo è il nome del file e la data quella del file; la location, se manca, va "
                "scritta nell'editor prima di salvare la scheda. Nelle note di ogni scheda importata "
                "compare \"Importata da\" con il nome del file, così la ricerca le ritrova tutte, e "
                "lumivera check elenca quelle ancora senza location."),
            QStringLiteral(
                "Il pulsante Provino, sotto il campo Giudizio (o Ctrl+G), mostra tutto il book a colpo "
                "d'occhio: le miniature delle foto di tutte le schede, con posizione, titolo e data. "
                "Invio o un doppio clic su una miniatura mostrano la scheda nell'editor; le frecce, "
                "Pag\u2191, Pag\u2193, Inizio e Fine si muovono fra le schede, Ctrl con la rotellina "
                "cambia la grandezza delle miniature. Dal provino si scrivono il portfolio PDF, il provino "
                "a contatto in PDF e l'esportazione di tutto il book o delle sole schede selezionate, e "
                "trascinandovi foto o cartelle di foto le si aggiunge al book come nuove schede."),
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
            QStringLiteral(
                "Ogni comando ha anche un tasto, indicato accanto al suggerimento del suo pulsante: "
                "Pag\u2191 e Pag\u2193 mostrano la scheda precedente e la successiva, Ctrl+Inizio e "
                "Ctrl+Fine la prima e l'ultima; Ctrl+S salva, Ctrl+N prepara una nuova scheda, Ctrl+D "
                "duplica, Ctrl+F apre la ricerca, Ctrl+Maiusc+A gli allegati, Ctrl+P l'anteprima di "
                "stampa, Ctrl+Maiusc+P la stampa, Ctrl+Maiusc+E l'esportazione, F5 lo Slide Show, F1 "
                "questa guida e Ctrl+W chiude la schermata. Per la foto: Ctrl+O la carica, "
                "Ctrl+Maiusc+S la salva su disco, Ctrl+Maiusc+Canc la cancella, F11 la mostra nelle sue "
                "dimensioni reali. Ctrl+T inserisce la data corrente. Il tasto Tab passa da un campo "
                "all'altro e poi ai pulsanti, che si premono con la barra spaziatrice o con Invio."),
        }};
}

HelpTopic exportBook() {
    return {
        QStringLiteral("Esportazione book fotografico in Microsoft Excel."),
        {
            QStringLiteral("Il pulsante Esporta archivio consente di esportare i dati testuali presenti nel "
                           "book fotografico in un foglio di lavoro di Microsoft Excel, che potrà essere "
                           "aperto con qualsiasi software in grado di gestire i file in formato XLS (ad "
                           "esempio, con Open Office, Libre Office o Microsoft Office)."),
            QStringLiteral("Dopo aver aperto la finestra contenente la griglia dei dati, bisogna fare clic "
                           "sull'icona di Excel. Il programma crea subito il foglio di lavoro con tutte le "
                           "schede presenti in archivio e chiede se lo si vuole aprire: rispondendo sì, il "
                           "file si apre con l'applicazione che il sistema associa ai fogli di lavoro."),
            QStringLiteral("A questo punto è sufficiente salvare il file sul proprio disco fisso "
                           "assegnandogli un nome qualsiasi."),
        }};
}

QList<HelpTopic> all() {
    return {launcher(), createBook(), editor(), exportBook()};
}

} // namespace HelpTopics
