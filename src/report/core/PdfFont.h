// One font face as the program's PDF files carry it: its glyphs looked up once per character, their
// widths, and the face cut down to the glyphs a file prints, with what each glyph stands for so that
// the text can be copied out of the file again. Glyphs keep their numbers in the cut-down face, so the
// file addresses them by number (two bytes each). A face without TrueType outlines, or whose licence
// forbids embedding, is not embedded: its glyphs are drawn as outlines instead.
#pragma once

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <vector>

namespace Report {

// True for the stand-in with which Qt draws a box for each character that no installed font has. It
// has no tables, no size of its own and no name (QRawFont::familyName() would read the first of none).
bool isStandIn(const QRawFont& face);

class PdfFont {
public:
    explicit PdfFont(const QRawFont& face);

    const QRawFont& face() const { return m_face; }
    // True when the face's outlines can go into the file as a TrueType font.
    bool embeddable() const { return m_embeddable; }
    // Whether the face itself is a bold one, or an italic or oblique one: a bold or italic asked of a
    // family without such a face is made from its regular face.
    bool boldFace() const { return m_boldFace; }
    bool italicFace() const { return m_italicFace; }

    // The face's glyph for a character of the basic plane, looked up once; 0 when the face has none.
    quint32 glyph(char16_t c);
    // A glyph's advance in thousandths of the em, as the file's width table gives it.
    qreal advance(quint32 glyph) const;
    // Marks a glyph as printed; the first text given for it is what copying it out of the file gives.
    void use(quint32 glyph, QStringView text = {});

    // The pieces of the file that describe the face, for the glyphs marked so far.
    QByteArray postScriptName() const; // with the six-letter tag of a cut-down face
    QByteArray widthArray() const;     // the /W array
    QByteArray toUnicode() const;      // the CMap from glyph numbers to text
    QByteArray descriptor() const;     // the font descriptor's entries, without the font file
    // The face cut down to the glyphs marked (and those they are built from), glyph numbers kept.
    QByteArray subset() const;

private:
    QByteArray table(const char tag[4]) const;

    QRawFont m_face;
    bool m_embeddable = false;
    bool m_fixedPitch = false;
    bool m_boldFace = false;
    bool m_italicFace = false;
    int m_unitsPerEm = 1000;
    int m_glyphCount = 0;
    int m_metricCount = 0;
    QByteArray m_head, m_hhea, m_hmtx, m_loca, m_glyf, m_maxp;
    bool m_longLoca = false;
    std::vector<quint32> m_glyphOf; // per character of the basic plane; kUnknown until looked up
    std::vector<bool> m_used;       // per glyph
    std::vector<QString> m_textOf;  // per glyph
};

} // namespace Report
