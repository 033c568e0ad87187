// One font face as the program's PDF files carry it: its glyphs looked up once per character, their
// widths, and the face cut down by HarfBuzz's subsetter to the glyphs a file prints, with what each
// glyph stands for so that the text can be copied out of the file again. Glyphs keep their numbers in
// the cut-down face, so the file addresses them by number (two bytes each). TrueType faces go into the
// file as TrueType programs, faces with CFF outlines (OpenType .otf) as bare CFF programs. A face
// with neither, whose licence forbids embedding, or whose tables the subsetter refuses is not
// embedded: its glyphs are drawn as outlines instead.
#pragma once

#include <QByteArray>
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

struct hb_face_t;
struct hb_font_t;

namespace Report {

// True for the stand-in with which Qt draws a box for each character that no installed font has. It
// has no tables, no size of its own and no name (QRawFont::familyName() would read the first of none).
bool isStandIn(const QRawFont& face);

class PdfFont {
public:
    // How the face's outlines go into the file.
    enum class Program {
        None,     // not at all: its glyphs are drawn as outlines
        TrueType, // a TrueType font program (FontFile2) under a CIDFontType2
        Cff,      // a bare name-keyed CFF font program (FontFile3, CIDFontType0C) under a CIDFontType0
    };

    explicit PdfFont(const QRawFont& face);
    ~PdfFont();
    PdfFont(const PdfFont&) = delete;
    PdfFont& operator=(const PdfFont&) = delete;

    const QRawFont& face() const { return m_face; }
    Program program() const { return m_program; }
    // True when the face's outlines can go into the file as a font.
    bool embeddable() const { return m_program != Program::None; }
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
    // The font program cut down to the glyphs marked (and those they are built from), glyph numbers
    // kept: a whole TrueType file, or the bare CFF table. Should the subsetter refuse the glyphs marked
    // (it took the face when it was opened), the whole program, so that the file still shows them.
    // Empty for a face that is not embedded.
    QByteArray subset() const;

private:
    struct HbDeleter {
        void operator()(hb_face_t* face) const;
        void operator()(hb_font_t* font) const;
    };

    QByteArray cutDown(const std::vector<quint32>& glyphs) const;

    QRawFont m_face;
    std::unique_ptr<hb_face_t, HbDeleter> m_source;  // the face's tables, as HarfBuzz reads them
    std::unique_ptr<hb_font_t, HbDeleter> m_metrics; // at the face's own units per em
    Program m_program = Program::None;
    bool m_fixedPitch = false;
    bool m_boldFace = false;
    bool m_italicFace = false;
    int m_unitsPerEm = 1000;
    int m_glyphCount = 0;
    std::vector<quint32> m_glyphOf; // per character of the basic plane; kUnknown until looked up
    std::vector<bool> m_used;       // per glyph
    std::vector<QString> m_textOf;  // per glyph
};

} // namespace Report
