#include "search/core/SearchSummary.h"

namespace SearchSummary {

namespace {
constexpr qreal kLineUnits = 12.822;
constexpr qreal kBandExtraUnits = 10;
const QColor kSlateGrey{112, 128, 144};
} // namespace

Report::ReportTemplate makeTemplate() {
    Report::ReportTemplate summary(QStringLiteral("Riepilogo dati"));
    Report::ReportPage data;
    data.printsNothing = true;
    summary.pages().push_back(data);

    Report::ReportPage page;
    page.pageSize = QPageSize(QPageSize::A4);
    page.orientation = QPageLayout::Landscape;
    page.margins = {10, 10, 10, 10};

    Report::Band title{QStringLiteral("ReportTitle"), Report::Band::Kind::ReportTitle, 8, false, {}};
    Report::ReportObject heading;
    heading.name = QStringLiteral("txtTitolo");
    heading.geometry = {2, 1, 273, 5};
    heading.font = Report::makeFont(QStringLiteral("Verdana"), 9, true);
    heading.textColour = Qt::white;
    heading.fill = kSlateGrey;
    heading.alignment = Qt::AlignHCenter | Qt::AlignTop;
    heading.setText(QStringLiteral("Riepilogo"));
    title.objects.push_back(heading);

    Report::Band master{QStringLiteral("MasterData"), Report::Band::Kind::MasterData, 0, true, {}};
    Report::ReportObject list;
    list.name = QStringLiteral("txtRiepilogo");
    list.geometry = {3, 0, 273, 0};
    list.font = Report::makeFont(QStringLiteral("Courier New"), 8);
    list.alignment = Qt::AlignLeft | Qt::AlignTop;
    list.lineSpacing = Report::fromUnits(kLineUnits);
    master.objects.push_back(list);

    Report::Band footer{QStringLiteral("Footer"), Report::Band::Kind::Footer, 8, false, {}};
    Report::ReportObject date = heading;
    date.name = QStringLiteral("txtPagina");
    date.geometry = {3, 2, 272, 5};
    date.font = Report::makeFont(QStringLiteral("Verdana"), 8, true);
    date.expandsDate = true;
    date.setText(QStringLiteral("Stampa eseguita in data [DATE]"));
    footer.objects.push_back(date);

    page.bands = {title, master, footer};
    summary.pages().push_back(page);
    return summary;
}

void fill(Report::ReportTemplate& summary, const QString& bookName, const QStringList& lines) {
    summary.textObject(u"txtTitolo")
        .setText(QStringLiteral("Riepilogo foto in book fotografico \"%1\"").arg(bookName));
    Report::ReportObject& text = summary.textObject(u"txtRiepilogo");
    text.clearLines();
    for (const QString& line : lines)
        text.addLine(line);
    Report::Band& band = summary.band(u"MasterData");
    text.setHeight(Report::fromUnits(text.lines.size() * kLineUnits));
    band.setHeight(text.geometry.height() + Report::fromUnits(kBandExtraUnits));
}

} // namespace SearchSummary
