#include "output/core/CardPage.h"

using namespace Qt::StringLiterals;
using Report::ReportObject;

namespace CardPage {

namespace {

const QColor kRoyalBlue(65, 105, 225);

ReportObject text(const QString& name, QRectF geometry, const QFont& font, const QColor& colour,
                  Qt::Alignment horizontal, const QString& content) {
    ReportObject object;
    object.name = name;
    object.kind = ReportObject::Kind::Text;
    object.geometry = geometry;
    object.font = font;
    object.textColour = colour;
    object.alignment = horizontal | Qt::AlignVCenter;
    object.setText(content);
    return object;
}

// A box: no fill, a black outline one unit wide.
ReportObject box(const QString& name, QRectF geometry) {
    ReportObject object;
    object.name = name;
    object.kind = ReportObject::Kind::Rectangle;
    object.geometry = geometry;
    object.frameColour = QColor(Qt::black);
    object.frameWidth = Report::fromUnits(1);
    return object;
}

// A bar: a box filled royal blue, with a royal-blue outline.
ReportObject bar(const QString& name, QRectF geometry) {
    ReportObject object = box(name, geometry);
    object.fill = kRoyalBlue;
    object.frameColour = kRoyalBlue;
    return object;
}

struct Block {
    const char16_t* caption;
    const char16_t* barName;
    const char16_t* captionName;
    const char16_t* boxName;
    const char16_t* valueName;
    TScheda::Field field; // the text the value object prints
    qreal left;
    qreal width;
    qreal captionWidth;
    qreal valueWidth;
    qreal barTop;
    qreal captionTop;
    qreal boxTop;
    qreal valueTop;
};

// The ten field blocks under the photo, as the page places them.
constexpr std::array<Block, 10> kBlocks = {{
    {u"DESCRIZIONE", u"Shape19", u"Memo8", u"Shape20", u"txtDescrizione", TScheda::Descrizione, 1, 188, 185.8,
     185.9, 195, 195.6, 200, 201},
    {u"LOCATION", u"Shape17", u"Memo9", u"Shape18", u"txtLocation", TScheda::Location, 1, 93, 91, 91, 209,
     210, 214, 215.4},
    {u"FOTOGRAFO", u"Shape13", u"Memo6", u"Shape14", u"txtFotografo", TScheda::Fotografo, 96, 93, 91, 91, 209,
     210, 214, 215.4},
    {u"FOTOCAMERA", u"Shape11", u"Memo7", u"Shape12", u"txtFotocamera", TScheda::Fotocamera, 1, 93, 91, 91,
     223, 224, 228, 229.4},
    {u"FOTORITOCCO", u"Shape9", u"Memo4", u"Shape10", u"txtFotoritocco", TScheda::Fotoritocco, 96, 93, 91, 91,
     223, 224, 228, 229.4},
    {u"ABITI", u"Shape7", u"Memo5", u"Shape8", u"txtAbiti", TScheda::Abiti, 1, 93, 91, 91, 237, 238, 242,
     243.4},
    {u"ACCESSORI", u"Shape5", u"Memo3", u"Shape6", u"txtAccessori", TScheda::Accessori, 96, 93, 91, 91, 237,
     238, 242, 243.4},
    {u"TRUCCO", u"Shape3", u"Memo2", u"Shape4", u"txtTrucco", TScheda::Trucco, 1, 93, 91, 91, 251, 252, 256,
     257.4},
    {u"GIUDIZIO", u"Shape1", u"Memo1", u"Shape2", u"txtGiudizio", TScheda::Giudizio, 96, 93, 91, 91, 251, 252,
     256, 257.4},
    {u"NOTE", u"Shape15", u"titRaccomandazioni", u"Shape16", u"txtNote", TScheda::Note, 1, 188, 185.8, 185.9,
     265, 265.6, 270, 271},
}};

constexpr qreal kBarHeight = 4.8;
constexpr qreal kCaptionHeight = 3.6;
constexpr qreal kBoxHeight = 6.0;
constexpr qreal kValueHeight = 4.0;

QString str(const char16_t* text) {
    return QString::fromUtf16(text);
}

} // namespace

Report::ReportTemplate makeTemplate() {
    Report::ReportTemplate report(u"Scheda book fotografico"_s);

    Report::ReportPage data;
    data.name = u"Dati"_s;
    data.printsNothing = true;
    report.pages().push_back(data);

    Report::ReportPage page;
    page.name = u"Scheda"_s;
    page.pageSize = QPageSize(QPageSize::A4);
    page.orientation = QPageLayout::Portrait;
    page.margins = QMarginsF(10, 10, 10, 10);
    auto& objects = page.objects;

    const QFont head = Report::makeFont(u"Arial"_s, 7);
    objects.push_back(
        text(u"txtNome"_s, {1, 0.5, 151, 4}, head, Qt::black, Qt::AlignLeft, u"NOME BOOK FOTOGRAFICO"_s));
    objects.push_back(
        text(u"txtData"_s, {153, 0.5, 36, 4}, head, Qt::black, Qt::AlignRight, u"Data scatto: GG/MM/AAAA"_s));
    objects.push_back(bar(u"shpTitolo"_s, {1, 5, 188, 8}));
    objects.push_back(text(u"txtTitolo"_s, {2, 6.2, 186, 6}, Report::makeFont(u"Arial"_s, 12), Qt::white,
                           Qt::AlignHCenter, u"TITOLO FOTO"_s));
    ReportObject photo;
    photo.name = u"imgLogo"_s;
    photo.kind = ReportObject::Kind::Picture;
    photo.geometry = {1, 16, 188, 177};
    objects.push_back(photo);

    const QFont caption = Report::makeFont(u"Arial"_s, 8, true);
    const QFont value = Report::makeFont(u"Arial"_s, 8);
    for (const Block& block : kBlocks) {
        objects.push_back(bar(str(block.barName), {block.left, block.barTop, block.width, kBarHeight}));
        objects.push_back(text(str(block.captionName),
                               {block.left + 1, block.captionTop, block.captionWidth, kCaptionHeight},
                               caption, Qt::white, Qt::AlignLeft, str(block.caption)));
        objects.push_back(box(str(block.boxName), {block.left, block.boxTop, block.width, kBoxHeight}));
        objects.push_back(text(str(block.valueName),
                               {block.left + 1, block.valueTop, block.valueWidth, kValueHeight}, value,
                               Qt::black, Qt::AlignLeft, QString()));
    }
    // What the card fills in is read as sentences: a text too long for its box ends with its last word
    // that fits and "…", never in the middle of a word.
    for (ReportObject& object : objects) {
        if (object.kind == ReportObject::Kind::Text && object.name.startsWith(u"txt"))
            object.overflow = ReportObject::Overflow::Ellipsis;
    }
    report.pages().push_back(page);
    return report;
}

void fill(Report::ReportTemplate& page, const Values& values) {
    page.page(1).orientation = QPageLayout::Portrait;
    page.pictureObject(u"imgLogo").setPicture(values.photo);
    page.textObject(u"txtTitolo").setText(values.texts[TScheda::Titolo]);
    page.textObject(u"txtNome").setText(values.bookName);
    page.textObject(u"txtData").setText(u"Data scatto: "_s + values.texts[TScheda::Data]);
    for (const Block& block : kBlocks)
        page.textObject(block.valueName).setText(values.texts[block.field]);
}

} // namespace CardPage
