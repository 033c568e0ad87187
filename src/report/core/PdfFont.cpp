#include "report/core/PdfFont.h"

#include <QHash>
#include <QtEndian>

#include <hb-ot.h>
#include <hb-subset.h>
#include <hb.h>

#include <algorithm>
#include <cstring>

namespace Report {

namespace {

constexpr quint32 kUnknown = 0xFFFFFFFF;

// The few fields read from the face's tables themselves, in bytes from each table's start; the rest
// (units per em, glyph count, advances, names, ascent, descent, cap height, slant) come from HarfBuzz.
constexpr qsizetype kHeadSize = 54;
constexpr qsizetype kHeadXMin = 36; // the box of all glyphs: xMin, yMin, xMax, yMax, signed words
constexpr qsizetype kHeadYMin = 38;
constexpr qsizetype kHeadXMax = 40;
constexpr qsizetype kHeadYMax = 42;
constexpr qsizetype kHeadMacStyle = 44;
constexpr quint16 kMacStyleBold = 0x0001;
constexpr quint16 kMacStyleItalic = 0x0002;
constexpr qsizetype kOs2WeightClass = 4;
constexpr qsizetype kOs2FsType = 8; // the embedding licence
constexpr quint16 kFsTypeUsage = 0x000F;
constexpr quint16 kFsTypeRestricted = 0x0002; // alone: may not be embedded (later bits relax it)
constexpr qsizetype kOs2FsSelection = 62;
constexpr quint16 kFsSelectionItalicOrOblique = 0x0201;
constexpr int kBoldWeight = 600;
constexpr qsizetype kPostItalicAngle = 4; // 16.16 fixed
constexpr qsizetype kPostIsFixedPitch = 12;

// The CFF program's header gives its own size in its third byte; the name INDEX and the top
// dictionaries' INDEX follow it.
constexpr qsizetype kCffHeaderSizeAt = 2;
constexpr int kCffEscape = 12;
constexpr int kCffRegistryOrderingSupplement = 30; // after the escape: the program is CID-keyed

// The tables the face is rebuilt from, as Qt reads them for the face itself (from a collection, too,
// where one file holds several faces): what a TrueType or CFF font program in the file needs, and what
// the descriptor, the name and the styles are read from.
constexpr const char* kTables[] = {"head", "hhea", "maxp", "hmtx", "loca", "glyf", "cvt ",
                                   "fpgm", "prep", "CFF ", "OS/2", "post", "name"};
// Tables the file's font program does without: a PDF reader finds glyphs by number and takes the
// widths, names and styles from the file's own objects.
constexpr const char* kDropped[] = {"OS/2", "post", "name"};

hb_tag_t tagOf(const char* tag) {
    return HB_TAG(tag[0], tag[1], tag[2], tag[3]);
}

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

// A blob that keeps the bytes it was made from.
hb_blob_t* blobOf(const QByteArray& bytes) {
    auto* held = new QByteArray(bytes);
    return hb_blob_create(held->constData(), uint(held->size()), HB_MEMORY_MODE_READONLY, held,
                          [](void* data) { delete static_cast<QByteArray*>(data); });
}

QByteArray bytesOf(hb_blob_t* blob) {
    unsigned int length = 0;
    const char* data = hb_blob_get_data(blob, &length);
    QByteArray bytes(data, qsizetype(length));
    hb_blob_destroy(blob);
    return bytes;
}

// Whether a CFF program is CID-keyed: its top dictionary holds the registry-ordering-supplement
// operator. Such a program finds a glyph through its own table of CIDs, so the file's glyph numbers
// would reach other glyphs; only a name-keyed program takes them as they are.
bool cidKeyed(const QByteArray& cff) {
    const auto byte = [&](qsizetype at) { return at >= 0 && at < cff.size() ? int(quint8(cff[at])) : -1; };
    const auto offset = [&](qsizetype at, int size) {
        qint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | std::max(byte(at + i), 0);
        return value;
    };
    // An INDEX: a count, the size of its offsets, count + 1 offsets counted from the byte before its data.
    struct Index {
        qsizetype data = 0; // where the first entry starts, less one
        int count = 0;
        int offsetSize = 0;
        qsizetype at = 0;
    };
    const auto index = [&](qsizetype at) {
        Index found{0, u16(cff, at), byte(at + 2), at};
        found.data = at + 3 + qsizetype(found.count + 1) * found.offsetSize - 1;
        return found;
    };
    const auto entry = [&](const Index& in, int i) {
        return in.data + offset(in.at + 3 + qsizetype(i) * in.offsetSize, in.offsetSize);
    };
    const Index names = index(byte(kCffHeaderSizeAt));
    if (names.count == 0 || names.offsetSize < 1 || names.offsetSize > 4)
        return false;
    const Index tops = index(entry(names, names.count));
    if (tops.count == 0 || tops.offsetSize < 1 || tops.offsetSize > 4)
        return false;
    qsizetype at = entry(tops, 0);
    const qsizetype end = std::min<qsizetype>(entry(tops, 1), cff.size());
    while (at < end) {
        const int b0 = byte(at);
        if (b0 == kCffEscape) {
            if (byte(at + 1) == kCffRegistryOrderingSupplement)
                return true;
            at += 2;
        } else if (b0 <= 21) {
            at += 1; // an operator
        } else if (b0 == 28) {
            at += 3;
        } else if (b0 == 29) {
            at += 5;
        } else if (b0 == 30) { // a real number, nibbles up to the one that ends it
            for (++at; at < end && (byte(at) & 0x0F) != 0x0F && (byte(at) >> 4) != 0x0F; ++at) {
            }
            ++at;
        } else if (b0 >= 32 && b0 <= 246) {
            at += 1;
        } else if (b0 >= 247 && b0 <= 254) {
            at += 2;
        } else {
            return false;
        }
    }
    return false;
}

} // namespace

void PdfFont::HbDeleter::operator()(hb_face_t* face) const {
    hb_face_destroy(face);
}

void PdfFont::HbDeleter::operator()(hb_font_t* font) const {
    hb_font_destroy(font);
}

bool isStandIn(const QRawFont& face) {
    return face.pixelSize() <= 0 && face.fontTable("head").isEmpty();
}

PdfFont::PdfFont(const QRawFont& face)
    : m_face(face)
    , m_glyphOf(0x10000, kUnknown) {
    // HarfBuzz's subsetter reads a face from a whole font file, which Qt does not tell. The face is
    // put together again from the tables Qt reads for it, in a file of those tables alone.
    hb_face_t* builder = hb_face_builder_create();
    QByteArray head, os2, post, cff;
    bool glyf = false;
    bool loca = false;
    bool hmtx = false;
    for (const char* tag : kTables) {
        const QByteArray data = m_face.fontTable(tag);
        if (data.isEmpty())
            continue;
        hb_blob_t* blob = blobOf(data);
        hb_face_builder_add_table(builder, tagOf(tag), blob);
        hb_blob_destroy(blob);
        const QByteArrayView name(tag, 4);
        if (name == "head")
            head = data;
        else if (name == "OS/2")
            os2 = data;
        else if (name == "post")
            post = data;
        else if (name == "CFF ")
            cff = data;
        glyf = glyf || name == "glyf";
        loca = loca || name == "loca";
        hmtx = hmtx || name == "hmtx";
    }
    hb_blob_t* file = hb_face_reference_blob(builder);
    hb_face_destroy(builder);
    m_source.reset(hb_face_create(file, 0));
    hb_blob_destroy(file);
    m_metrics.reset(hb_font_create(m_source.get()));

    m_unitsPerEm = std::max<int>(16, int(hb_face_get_upem(m_source.get())));
    m_glyphCount = int(hb_face_get_glyph_count(m_source.get()));
    m_fixedPitch = u32(post, kPostIsFixedPitch) != 0;
    const quint16 macStyle = u16(head, kHeadMacStyle);
    m_boldFace = os2.size() >= kOs2WeightClass + 2 ? u16(os2, kOs2WeightClass) >= kBoldWeight
                                                   : (macStyle & kMacStyleBold) != 0;
    m_italicFace = (macStyle & kMacStyleItalic) != 0 ||
                   (u16(os2, kOs2FsSelection) & kFsSelectionItalicOrOblique) != 0 ||
                   u32(post, kPostItalicAngle) != 0;

    const bool restricted = (u16(os2, kOs2FsType) & kFsTypeUsage) == kFsTypeRestricted;
    if (restricted || head.size() < kHeadSize || !hmtx || m_glyphCount <= 0)
        m_program = Program::None;
    else if (glyf && loca)
        m_program = Program::TrueType;
    else if (!cff.isEmpty() && !cidKeyed(cff))
        m_program = Program::Cff;
    // A face the subsetter refuses is drawn as outlines: asked now, before any page prints with it.
    if (m_program != Program::None && cutDown({0}).isEmpty())
        m_program = Program::None;
    m_used.assign(std::size_t(std::max(m_glyphCount, 1)), false);
    m_textOf.resize(m_used.size());
}

PdfFont::~PdfFont() = default;

quint32 PdfFont::glyph(char16_t c) {
    quint32& known = m_glyphOf[c];
    if (known == kUnknown) {
        const QChar ch(c);
        quint32 index = 0;
        int count = 1;
        if (!m_face.glyphIndexesForChars(&ch, 1, &index, &count) || count != 1)
            index = 0;
        known = index < quint32(m_glyphCount) || !embeddable() ? index : 0;
    }
    return known;
}

qreal PdfFont::advance(quint32 glyph) const {
    if (embeddable())
        return qreal(hb_font_get_glyph_h_advance(m_metrics.get(), glyph)) * 1000.0 / m_unitsPerEm;
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
    char buffer[128];
    unsigned int length = sizeof buffer;
    length = hb_ot_name_get_utf8(m_source.get(), HB_OT_NAME_ID_POSTSCRIPT_NAME, HB_LANGUAGE_INVALID, &length,
                                 buffer)
                 ? length
                 : 0;
    QByteArray name(buffer, qsizetype(std::min<unsigned int>(length, sizeof buffer - 1)));
    if (name.isEmpty())
        name = ((isStandIn(m_face) ? QString() : m_face.familyName()) + u'-' + m_face.styleName()).toLatin1();
    QByteArray clean;
    for (char c : std::as_const(name)) {
        if (c > 32 && c < 127 && !std::strchr("()<>[]{}/%#", c))
            clean.append(c);
    }
    if (clean.isEmpty())
        clean = "Font";
    if (!embeddable())
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
    const QByteArray head = m_face.fontTable("head");
    const qreal scale = 1000.0 / m_unitsPerEm;
    const auto scaled = [&](int units) { return number(qRound(units * scale)); };
    hb_font_t* font = m_metrics.get();
    hb_position_t ascent = 0;
    hb_position_t descent = 0;
    hb_position_t capHeight = 0;
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_ASCENDER, &ascent);
    hb_ot_metrics_get_position_with_fallback(font, HB_OT_METRICS_TAG_HORIZONTAL_DESCENDER, &descent);
    if (!hb_ot_metrics_get_position(font, HB_OT_METRICS_TAG_CAP_HEIGHT, &capHeight) || capHeight <= 0)
        capHeight = ascent;
    const qreal italicAngle = qRound(hb_style_get_value(font, HB_STYLE_TAG_SLANT_ANGLE) * 1000) / 1000.0;
    int flags = 4; // symbolic: the glyphs are addressed by number, not by a standard encoding
    if (m_fixedPitch)
        flags |= 1;
    if (italicAngle != 0)
        flags |= 64;
    QByteArray out;
    out += "/Flags " + QByteArray::number(flags);
    out += " /FontBBox [" + scaled(i16(head, kHeadXMin)) + ' ' + scaled(i16(head, kHeadYMin)) + ' ' +
           scaled(i16(head, kHeadXMax)) + ' ' + scaled(i16(head, kHeadYMax)) + ']';
    out += " /ItalicAngle " + number(italicAngle);
    out += " /Ascent " + scaled(ascent) + " /Descent " + scaled(descent);
    out += " /CapHeight " + scaled(capHeight);
    out += " /StemV " + QByteArray(m_face.weight() >= QFont::DemiBold ? "120" : "80");
    return out;
}

QByteArray PdfFont::subset() const {
    if (!embeddable())
        return {};
    // The glyphs printed and the empty glyph; the subsetter adds those that composite glyphs (and CFF
    // accented letters) are built from.
    std::vector<quint32> glyphs{0};
    for (std::size_t g = 1; g < m_used.size(); ++g) {
        if (m_used[g])
            glyphs.push_back(quint32(g));
    }
    QByteArray cut = cutDown(glyphs);
    if (!cut.isEmpty())
        return cut;
    // The subsetter took the face but not these glyphs: the whole program, which shows them all.
    hb_blob_t* whole = m_program == Program::Cff
                           ? hb_face_reference_table(m_source.get(), HB_TAG('C', 'F', 'F', ' '))
                           : hb_face_reference_blob(m_source.get());
    return bytesOf(whole);
}

QByteArray PdfFont::cutDown(const std::vector<quint32>& glyphs) const {
    hb_subset_input_t* input = hb_subset_input_create_or_fail();
    if (!input)
        return {};
    hb_set_t* keep = hb_subset_input_glyph_set(input);
    for (quint32 g : glyphs)
        hb_set_add(keep, g);
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* tag : kDropped)
        hb_set_add(dropped, tagOf(tag));
    // Glyph numbers stay as the pages print them; the empty glyph keeps the box that marks a missing
    // character, as the painter draws it.
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS | HB_SUBSET_FLAGS_NOTDEF_OUTLINE);
    hb_face_t* cut = hb_subset_or_fail(m_source.get(), input);
    hb_subset_input_destroy(input);
    if (!cut)
        return {};
    const QByteArray program =
        bytesOf(m_program == Program::Cff ? hb_face_reference_table(cut, HB_TAG('C', 'F', 'F', ' '))
                                          : hb_face_reference_blob(cut));
    hb_face_destroy(cut);
    return program;
}

} // namespace Report
