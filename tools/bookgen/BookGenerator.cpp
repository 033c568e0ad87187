#include "BookGenerator.h"

#include "archive/core/TScheda.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace BookGenerator {

namespace {

// A small, fast generator with a fixed sequence for a given seed (xorshift32).
class Random {
public:
    explicit Random(std::uint32_t seed)
        : m_state(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    template <class List> const auto& pick(const List& list) {
        return list[std::size_t(below(int(std::size(list))))];
    }

private:
    std::uint32_t m_state;
};

constexpr const char16_t* kWords[] = {
    u"luce",          u"naturale",    u"ombra",     u"morbida",    u"sguardo",
    u"intenso",       u"città",       u"perché",    u"più",        u"già",
    u"così",          u"però",        u"caffè",     u"libertà",    u"eleganza",
    u"contrasto",     u"tramonto",    u"mattino",   u"controluce", u"profilo",
    u"sorriso",       u"capelli",     u"raccolti",  u"sciolti",    u"vento",
    u"mare",          u"spiaggia",    u"collina",   u"giardino",   u"terrazza",
    u"finestra",      u"specchio",    u"velluto",   u"seta",       u"lino",
    u"pizzo",         u"sfondo",      u"sfocato",   u"nitido",     u"grana",
    u"colore",        u"bianco",      u"nero",      u"caldo",      u"freddo",
    u"posa",          u"seduta",      u"in piedi",  u"di spalle",  u"primo piano",
    u"figura intera", u"mezzo busto", u"obiettivo", u"diaframma",  u"aperto",
    u"chiuso",        u"è",           u"e",         u"con",        u"senza",
    u"della",         u"nella",       u"sulla",     u"dell'abito", u"all'aperto",
    u"qualità",       u"novità",      u"età",       u"virtù",      u"verità",
    u"lunghezza",     u"proporzione", u"armonia",   u"riflesso",   u"bagliore",
    u"penombra",      u"&",
};

constexpr const char16_t* kPlaces[] = {
    u"Città di Venezia",  u"Forlì",   u"Cefalù",   u"Portofino",      u"Milano, Brera",
    u"Roma, Trastevere",  u"Firenze", u"Taormina", u"Lago di Como",   u"Sanremo",
    u"Napoli, Posillipo", u"Torino",  u"Cantù",    u"Studio Agenzia", u"Venezia, Lido",
    u"Positano",
};

constexpr const char16_t* kPhotographers[] = {
    u"Marco Rossi", u"Niccolò Bianchi", u"Giulia Ferrè",    u"Andrea Colombo",
    u"Sara Rossi",  u"Luca Esposito",   u"Chiara Galli",    u"Nicolò Fabbri",
    u"Elena Marè",  u"Davide Conti",    u"Francesca Villa", u"Paolo Mancini",
};

constexpr const char16_t* kCameras[] = {
    u"Nikon D850",  u"Nikon Z9",         u"Canon EOS R5",   u"Canon EOS 5D Mark IV",
    u"Sony A7R IV", u"Fujifilm GFX 100", u"Hasselblad X2D", u"Leica SL2",
};

constexpr const char16_t* kJudgements[] = {
    u"Ottima", u"Buona", u"Da rivedere", u"Scelta per il book", u"Scartata", u"Perfetta, già inviata",
};

// Words joined into a text of about `length` characters, the first letter upper case.
QString sentence(Random& random, int length) {
    QString text;
    while (text.size() < length) {
        if (!text.isEmpty())
            text += random.below(9) == 0 ? QStringLiteral(", ") : QStringLiteral(" ");
        text += QString::fromUtf16(random.pick(kWords));
    }
    text.truncate(length);
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

QString date(Random& random) {
    return QStringLiteral("%1/%2/%3")
        .arg(random.between(1, 28), 2, 10, QLatin1Char('0'))
        .arg(random.between(1, 12), 2, 10, QLatin1Char('0'))
        .arg(random.between(2005, 2024));
}

// A card with every text field filled; the title is set per card afterwards.
TScheda patternCard(Random& random) {
    TScheda card;
    card.setField(TScheda::Descrizione, sentence(random, random.between(20, 240)));
    card.setField(TScheda::Data, date(random));
    card.setField(TScheda::Location, QString::fromUtf16(random.pick(kPlaces)));
    card.setField(TScheda::Fotografo, QString::fromUtf16(random.pick(kPhotographers)));
    card.setField(TScheda::Fotocamera, QString::fromUtf16(random.pick(kCameras)));
    card.setField(TScheda::Fotoritocco, sentence(random, random.between(0, 80)));
    card.setField(TScheda::Abiti, sentence(random, random.between(5, 120)));
    card.setField(TScheda::Accessori, sentence(random, random.between(0, 90)));
    card.setField(TScheda::Trucco, sentence(random, random.between(0, 60)));
    card.setField(TScheda::Giudizio, QString::fromUtf16(random.pick(kJudgements)));
    card.setField(TScheda::Note, sentence(random, random.between(0, 200)));
    return card;
}

constexpr int kPatterns = 512;
constexpr int kTitles = 256;

} // namespace

std::int64_t archiveSize(int cards) {
    return std::int64_t(cards) * std::int64_t(TScheda::kSize);
}

bool writeArchive(const QString& path, int cards, std::uint32_t seed) {
    Random random(seed);
    // Each card takes each field from one of a few hundred pattern cards picked at random, so the
    // book varies like a real one and a million cards are made in seconds.
    std::vector<TScheda> patterns;
    patterns.reserve(kPatterns);
    for (int i = 0; i < kPatterns; ++i)
        patterns.push_back(patternCard(random));
    std::vector<QString> titles;
    for (int i = 0; i < kTitles; ++i)
        titles.push_back(sentence(random, random.between(8, 70)));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk;
    constexpr qsizetype kChunk = 8 << 20;
    chunk.reserve(kChunk + qsizetype(TScheda::kSize));
    for (int n = 1; n <= cards; ++n) {
        TScheda card;
        for (int f = TScheda::Descrizione; f <= TScheda::Note; ++f) {
            const TScheda::Layout& layout = TScheda::layout(TScheda::Field(f));
            const TScheda& from = patterns[std::size_t(random.below(kPatterns))];
            std::memcpy(card.bytes().data() + layout.offset, from.bytes().data() + layout.offset,
                        std::size_t(layout.capacity) + 1);
        }
        const QString title =
            titles[std::size_t(random.below(kTitles))] + QStringLiteral(" n. ") + QString::number(n);
        card.setField(TScheda::Titolo, title);
        chunk.append(reinterpret_cast<const char*>(card.bytes().data()), qsizetype(TScheda::kSize));
        if (chunk.size() >= kChunk || n == cards) {
            if (file.write(chunk) != chunk.size())
                return false;
            chunk.resize(0);
        }
    }
    return file.commit();
}

bool writePhoto(const QString& path, QSize size, int quality, std::uint32_t seed) {
    if (size.isEmpty())
        return false;
    Random random(seed);
    QImage image(size, QImage::Format_RGB888);
    if (image.isNull())
        return false;
    const int w = size.width();
    const int h = size.height();
    // Precomputed slow waves across the frame, so each pixel costs a few additions.
    std::vector<float> across(std::size_t(w), 0.0f);
    for (int x = 0; x < w; ++x)
        across[std::size_t(x)] = 30.0f * std::sin(float(x) / float(w) * 7.0f);
    for (int y = 0; y < h; ++y) {
        uchar* line = image.scanLine(y);
        const float down = float(y) / float(h);
        const float wave = 25.0f * std::cos(down * 5.0f);
        for (int x = 0; x < w; ++x) {
            const float right = float(x) / float(w);
            const std::uint32_t grain = random.next();
            const float base = across[std::size_t(x)] + wave;
            const auto channel = [&](float value, int shift) {
                const int noisy = int(value + base) + int((grain >> shift) & 15u) - 8;
                return uchar(std::clamp(noisy, 0, 255));
            };
            line[3 * x] = channel(90.0f + 120.0f * right, 0);
            line[3 * x + 1] = channel(70.0f + 90.0f * down, 8);
            line[3 * x + 2] = channel(160.0f - 80.0f * right * down, 16);
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "jpg");
    writer.setQuality(quality);
    if (!writer.write(image)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool ensureArchive(const QString& path, int cards) {
    const QFileInfo info(path);
    if (info.exists() && info.size() == archiveSize(cards))
        return true;
    return writeArchive(path, cards);
}

bool ensurePhoto(const QString& path, QSize size) {
    if (QFileInfo(path).size() > 0)
        return true;
    return writePhoto(path, size);
}

} // namespace BookGenerator
