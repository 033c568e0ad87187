#include "base/SystemText.h"

#include <cerrno>
#include <cstring>
#include <iterator>

namespace SystemText {

namespace {

struct Known {
    int code;
    const char16_t* words;
};

// The failures a file operation of the program can meet.
constexpr Known kKnown[] = {
    {ENOENT, u"il file o la cartella non esiste"},
    {EACCES, u"accesso negato"},
    {EPERM, u"operazione non permessa"},
    {EROFS, u"il disco è di sola lettura"},
    {ENOSPC, u"il disco è pieno"},
    {EDQUOT, u"lo spazio concesso sul disco è esaurito"},
    {ENAMETOOLONG, u"nome di file troppo lungo"},
    {EISDIR, u"al suo posto c'è una cartella"},
    {ENOTDIR, u"una parte del percorso non è una cartella"},
    {EEXIST, u"il file esiste già"},
    {EIO, u"errore di lettura o scrittura del disco"},
    {EFBIG, u"il file è troppo grande"},
    {EMFILE, u"troppi file aperti"},
    {ENFILE, u"troppi file aperti nel sistema"},
    {EBUSY, u"il file è in uso"},
    {ETXTBSY, u"il file è in uso"},
    {EXDEV, u"il file si trova su un altro disco"},
    {ELOOP, u"troppi collegamenti simbolici nel percorso"},
    {EINVAL, u"operazione non valida per questo file"},
    {ENXIO, u"il dispositivo non è disponibile"},
    {ENODEV, u"il dispositivo non è disponibile"},
    {EAGAIN, u"risorsa temporaneamente non disponibile"},
    {ENOLCK, u"il disco non permette di riservare il file"},
    {ENOMEM, u"memoria insufficiente"},
    {EOVERFLOW, u"il file è troppo grande per il programma"},
    {ENOTEMPTY, u"la cartella non è vuota"},
    {ESTALE, u"il file sulla cartella condivisa non è più disponibile"},
};

QString withWords(const char16_t* italianWords, const QString& systemWords) {
    const QString said = QString::fromUtf16(italianWords);
    return systemWords.isEmpty() ? said : said + QStringLiteral(" (") + systemWords + u')';
}

} // namespace

QString ofCode(int code) {
    const QString words = QString::fromLocal8Bit(std::strerror(code));
    for (const Known& known : kKnown) {
        if (known.code == code)
            return withWords(known.words, words);
    }
    return words;
}

QString italian(const QString& systemWords) {
    if (systemWords.isEmpty())
        return systemWords;
    for (const Known& known : kKnown) {
        // Qt words some failures itself; the rest are the C library's.
        if (systemWords == qt_error_string(known.code) ||
            systemWords == QString::fromLocal8Bit(std::strerror(known.code)))
            return withWords(known.words, systemWords);
    }
    return systemWords;
}

} // namespace SystemText
