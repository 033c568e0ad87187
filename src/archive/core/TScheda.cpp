#include "archive/core/TScheda.h"

#include "archive/core/Cp1252.h"
#include "base/TextRules.h"

#include <algorithm>

namespace {

constexpr std::array<TScheda::Layout, TScheda::kFieldCount> kLayout = {{
    {u"Titolo", 0, 120},
    {u"Descrizione", 121, 250},
    {u"Data", 372, 10},
    {u"Location", 383, 50},
    {u"Fotografo", 434, 50},
    {u"Fotocamera", 485, 50},
    {u"Fotoritocco", 536, 250},
    {u"Abiti", 787, 250},
    {u"Accessori", 1038, 250},
    {u"Trucco", 1289, 250},
    {u"Giudizio", 1540, 250},
    {u"Note", 1791, 250},
    {u"File01", 2042, 250},
    {u"File02", 2293, 250},
    {u"File03", 2544, 250},
    {u"Desc01", 2795, 250},
    {u"Desc02", 3046, 250},
    {u"Desc03", 3297, 250},
}};

constexpr bool fieldsTileTheRecord() {
    std::size_t next = 0;
    for (const auto& f : kLayout) {
        if (f.offset != next)
            return false;
        next = f.offset + 1 + std::size_t(f.capacity);
    }
    return next == TScheda::kSize;
}
static_assert(fieldsTileTheRecord(), "the eighteen fields must fill the 3548-byte record exactly");

} // namespace

const TScheda::Layout& TScheda::layout(Field field) {
    return kLayout[field];
}

QString TScheda::field(Field field) const {
    return Cp1252::decode(storedText(field));
}

void TScheda::setField(Field field, QStringView text) {
    const Layout& f = kLayout[field];
    const QString trimmed = TextRules::trim(text);
    const QByteArray converted =
        Cp1252::encode(QStringView(trimmed).first(std::min<qsizetype>(trimmed.size(), kConvertedLimit)));
    const int length =
        int(std::min<qsizetype>({converted.size(), qsizetype(kConvertedLimit), qsizetype(f.capacity)}));
    m_bytes[f.offset] = static_cast<unsigned char>(length);
    std::copy_n(converted.constData(), length, m_bytes.begin() + f.offset + 1);
}
