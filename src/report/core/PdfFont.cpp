#include "report/core/PdfFont.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

namespace Report {

namespace {

constexpr quint32 kUnknown = 0xFFFFFFFF;

quint16 u16(const QByteArray& data, qsizetype at) {
    if (at < 0 || at + 2 > data.size())
        return 0;
    return qFromBigEndian<quint16>(data.constData() + at);
}

qint16 i16(const QByteArray& data, qsizetype at) {
    return qint16(u16(data, at));
}

quint32 u32(const QByteArray& data, qsizetype at) {
    if (at < 0 || at + 4 > data.size())
        return 0;
    return qFromBigEndian<quint32>(data.constData() + at);
}

void put16(QByteArray& data, quint16 value) {
    char bytes[2];
    qToBigEndian(value, bytes);
    data.append(bytes, 2);
}

void put32(QByteArray& data, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    data.append(bytes, 4);
}

quint32 checksum(const QByteArray& data) {
    quint32 sum = 0;
    qsizetype i = 0;
    for (; i + 4 <= data.size(); i += 4)
        sum += qFromBigEndian<quint32>(data.constData() + i);
    if (i < data.size()) {
        char last[4] = {0, 0, 0, 0};
        std::memcpy(last, data.constData() + i, std::size_t(data.size() - i));
        sum += qFromBigEndian<quint32>(last);
    }
    return sum;
}

void appendHex16(QByteArray& out, quint16 value) {
    static const char digits[] = "0123456789ABCDEF";
    out.append(digits[(value >> 12) & 15]);
    out.append(digits[(value >> 8) & 15]);
    out.append(digits[(value >> 4) & 15]);
    out.append(digits[value & 15]);
}

QByteArray number(qreal value) {
    return QByteArray::number(value, 'f', 3).replace(".000", "");
}

// The glyphs a composite glyph is built from.
std::vector<quint16> components(const QByteArray& glyph) {
    std::vector<quint16> parts;
    if (glyph.size() < 10 || i16(glyph, 0) >= 0)
        return parts;
    qsizetype at = 10;
    for (;;) {
        const quint16 flags = u16(glyph, at);
        parts.push_back(u16(glyph, at + 2));
        at += 4;
        at += (flags & 0x0001) ? 4 : 2; // the offsets, as words or bytes
        if (flags & 0x0008)
            at += 2; // one scale
        else if (flags & 0x0040)
            at += 4; // x and y scales
        else if (flags & 0x0080)
            at += 8; // a two by two matrix
        if (!(flags & 0x0020) || at >= glyph.size())
            break;
    }
    return parts;
}

} // namespace

bool isStandIn(const QRawFont& face) {
    return face.pixelSize() <= 0 && face.fontTable("head").isEmpty();
}

PdfFont::PdfFont(const QRawFont& face)
    : m_face(face)
    , m_glyphOf(0x10000, kUnknown) {
    m_head = table("head");
    m_hhea = table("hhea");
    m_maxp = table("maxp");
    m_hmtx = table("hmtx");
    m_loca = table("loca");
    m_glyf = table("glyf");
    const QByteArray os2 = table("OS/2");
    const QByteArray post = table("post");
    m_unitsPerEm = std::max<int>(16, u16(m_head, 18));
    m_glyphCount = u16(m_maxp, 4);
    m_metricCount = std::min<int>(u16(m_hhea, 34), int(m_hmtx.size() / 4));
    m_longLoca = i16(m_head, 50) == 1;
    m_fixedPitch = u32(post, 12) != 0;
    const quint16 macStyle = u16(m_head, 44);
    m_boldFace = os2.size() >= 6 ? u16(os2, 4) >= 600 : (macStyle & 1) != 0;
    m_italicFace = (macStyle & 2) != 0 || (u16(os2, 62) & 0x0201) != 0 || u32(post, 4) != 0;
    // Licence bit 1 alone: the face may not be embedded (later bits relax it).
    const quint16 fsType = u16(os2, 8);
    const bool restricted = (fsType & 0x000F) == 0x0002;
    const qsizetype locaEntries = m_loca.size() / (m_longLoca ? 4 : 2);
    m_embeddable = !restricted && m_head.size() >= 54 && m_hhea.size() >= 36 && m_maxp.size() >= 6 &&
                   m_metricCount > 0 && !m_glyf.isEmpty() && m_glyphCount > 0 &&
                   locaEntries >= m_glyphCount + 1;
    m_used.assign(std::size_t(std::max(m_glyphCount, 1)), false);
    m_textOf.resize(m_used.size());
}

QByteArray PdfFont::table(const char tag[4]) const {
    return m_face.fontTable(tag);
}

quint32 PdfFont::glyph(char16_t c) {
    quint32& known = m_glyphOf[c];
    if (known == kUnknown) {
        const QChar ch(c);
        quint32 index = 0;
        int count = 1;
        if (!m_face.glyphIndexesForChars(&ch, 1, &index, &count) || count != 1)
            index = 0;
        known = index < quint32(m_glyphCount) || !m_embeddable ? index : 0;
    }
    return known;
}

qreal PdfFont::advance(quint32 glyph) const {
    if (m_metricCount > 0) {
        const int entry = std::min<int>(int(glyph), m_metricCount - 1);
        return qreal(u16(m_hmtx, qsizetype(entry) * 4)) * 1000.0 / m_unitsPerEm;
    }
    const QList<QPointF> advances =
        m_face.advancesForGlyphIndexes(QList<quint32>{glyph}, QRawFont::UseDesignMetrics);
    return advances.isEmpty() || m_face.pixelSize() <= 0 ? 0
                                                         : advances.first().x() * 1000.0 / m_face.pixelSize();
}

void PdfFont::use(quint32 glyph, QStringView text) {
    if (glyph >= m_used.size())
        return;
    if (!m_used[glyph]) {
        m_used[glyph] = true;
        m_textOf[glyph] = text.toString();
    } else if (m_textOf[glyph].isEmpty() && !text.isEmpty()) {
        m_textOf[glyph] = text.toString();
    }
}

QByteArray PdfFont::postScriptName() const {
    QByteArray name;
    const QByteArray names = table("name");
    const int count = u16(names, 2);
    const int strings = u16(names, 4);
    for (int i = 0; i < count && name.isEmpty(); ++i) {
        const qsizetype record = 6 + qsizetype(i) * 12;
        if (u16(names, record + 6) != 6)
            continue;
        const quint16 platform = u16(names, record);
        const qsizetype length = u16(names, record + 8);
        const qsizetype at = strings + u16(names, record + 10);
        if (at + length > names.size())
            continue;
        if (platform == 1) {
            name = names.mid(at, length);
        } else if (platform == 3 || platform == 0) {
            for (qsizetype k = 0; k + 1 < length; k += 2)
                name.append(char(u16(names, at + k) & 0x7F));
        }
    }
    if (name.isEmpty())
        name = ((isStandIn(m_face) ? QString() : m_face.familyName()) + u'-' + m_face.styleName()).toLatin1();
    QByteArray clean;
    for (char c : std::as_const(name)) {
        if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", c))
            clean.append(c);
    }
    if (clean.isEmpty())
        clean = "Font";
    if (!m_embeddable)
        return clean;
    // The tag tells a cut-down face from the whole one: six capitals drawn from the glyphs it keeps.
    size_t seed = qHash(clean);
    for (std::size_t g = 0; g < m_used.size(); ++g) {
        if (m_used[g])
            seed = seed * 31 + g;
    }
    QByteArray tag;
    for (int i = 0; i < 6; ++i) {
        tag.append(char('A' + seed % 26));
        seed /= 26;
    }
    return tag + '+' + clean;
}

QByteArray PdfFont::widthArray() const {
    QByteArray out("[");
    std::size_t g = 0;
    while (g < m_used.size()) {
        if (!m_used[g]) {
            ++g;
            continue;
        }
        out += QByteArray::number(qulonglong(g)) + " [";
        bool first = true;
        for (; g < m_used.size() && m_used[g]; ++g) {
            if (!first)
                out += ' ';
            out += number(advance(quint32(g)));
            first = false;
        }
        out += "] ";
    }
    out += ']';
    return out;
}

QByteArray PdfFont::toUnicode() const {
    std::vector<std::pair<quint16, const QString*>> entries;
    for (std::size_t g = 0; g < m_used.size(); ++g) {
        if (m_used[g] && !m_textOf[g].isEmpty())
            entries.emplace_back(quint16(g), &m_textOf[g]);
    }
    QByteArray out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                     "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    for (std::size_t start = 0; start < entries.size(); start += 100) {
        const std::size_t end = std::min(entries.size(), start + 100);
        out += QByteArray::number(qulonglong(end - start)) + " beginbfchar\n";
        for (std::size_t i = start; i < end; ++i) {
            out += '<';
            appendHex16(out, entries[i].first);
            out += "> <";
            for (QChar c : *entries[i].second)
                appendHex16(out, c.unicode());
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

QByteArray PdfFont::descriptor() const {
    const QByteArray os2 = table("OS/2");
    const QByteArray post = table("post");
    const qreal scale = 1000.0 / m_unitsPerEm;
    const auto scaled = [&](int units) { return number(qRound(units * scale)); };
    const int ascent = i16(m_hhea, 4);
    const int descent = i16(m_hhea, 6);
    const int capHeight = u16(os2, 0) >= 2 ? i16(os2, 88) : ascent;
    const qreal italicAngle = qreal(qint32(u32(post, 4))) / 65536.0;
    int flags = 4; // symbolic: the glyphs are addressed by number, not by a standard encoding
    if (m_fixedPitch)
        flags |= 1;
    if (italicAngle != 0)
        flags |= 64;
    QByteArray out;
    out += "/Flags " + QByteArray::number(flags);
    out += " /FontBBox [" + scaled(i16(m_head, 36)) + ' ' + scaled(i16(m_head, 38)) + ' ' +
           scaled(i16(m_head, 40)) + ' ' + scaled(i16(m_head, 42)) + ']';
    out += " /ItalicAngle " + number(italicAngle);
    out += " /Ascent " + scaled(ascent) + " /Descent " + scaled(descent);
    out += " /CapHeight " + scaled(capHeight);
    out += " /StemV " + QByteArray(m_face.weight() >= QFont::DemiBold ? "120" : "80");
    return out;
}

QByteArray PdfFont::subset() const {
    if (!m_embeddable)
        return {};
    const auto glyphData = [&](int g) -> QByteArray {
        const qsizetype from = m_longLoca ? u32(m_loca, qsizetype(g) * 4) : u16(m_loca, qsizetype(g) * 2) * 2;
        const qsizetype to =
            m_longLoca ? u32(m_loca, qsizetype(g + 1) * 4) : u16(m_loca, qsizetype(g + 1) * 2) * 2;
        if (to <= from || to > m_glyf.size())
            return {};
        return m_glyf.mid(from, to - from);
    };

    // The glyphs printed, the empty glyph, and every glyph a composite one is built from.
    std::vector<bool> keep = m_used;
    keep.resize(std::size_t(m_glyphCount), false);
    keep[0] = true;
    std::vector<int> pending;
    for (int g = 0; g < m_glyphCount; ++g) {
        if (keep[std::size_t(g)])
            pending.push_back(g);
    }
    while (!pending.empty()) {
        const int g = pending.back();
        pending.pop_back();
        for (quint16 part : components(glyphData(g))) {
            if (part < m_glyphCount && !keep[part]) {
                keep[part] = true;
                pending.push_back(part);
            }
        }
    }

    QByteArray glyf;
    QByteArray loca;
    for (int g = 0; g < m_glyphCount; ++g) {
        put32(loca, quint32(glyf.size()));
        if (keep[std::size_t(g)]) {
            glyf += glyphData(g);
            while (glyf.size() % 4)
                glyf.append('\0');
        }
    }
    put32(loca, quint32(glyf.size()));

    QByteArray head = m_head;
    qToBigEndian<quint32>(0, head.data() + 8); // the whole file's checksum, set below
    qToBigEndian<qint16>(1, head.data() + 50); // long glyph offsets

    std::map<QByteArray, QByteArray> tables; // sorted by tag, as the directory must be
    tables["head"] = head;
    tables["hhea"] = m_hhea;
    tables["maxp"] = m_maxp;
    tables["hmtx"] = m_hmtx;
    tables["loca"] = loca;
    tables["glyf"] = glyf;
    for (const char* tag : {"cvt ", "fpgm", "prep"}) {
        const QByteArray data = table(tag);
        if (!data.isEmpty())
            tables[tag] = data;
    }

    const int count = int(tables.size());
    int power = 1;
    int log = 0;
    while (power * 2 <= count) {
        power *= 2;
        ++log;
    }
    QByteArray file;
    put32(file, 0x00010000);
    put16(file, quint16(count));
    put16(file, quint16(power * 16));
    put16(file, quint16(log));
    put16(file, quint16(count * 16 - power * 16));
    quint32 offset = quint32(12 + 16 * count);
    qsizetype headAt = 0;
    for (const auto& [tag, data] : tables) {
        file.append(tag);
        put32(file, checksum(data));
        put32(file, offset);
        put32(file, quint32(data.size()));
        if (tag == "head")
            headAt = offset;
        offset += quint32((data.size() + 3) & ~qsizetype(3));
    }
    for (const auto& [tag, data] : tables) {
        file += data;
        while (file.size() % 4)
            file.append('\0');
    }
    qToBigEndian<quint32>(0xB1B0AFBA - checksum(file), file.data() + headAt + 8);
    return file;
}

} // namespace Report
