#include "output/core/ExportFile.h"

#include "base/ReplaceFile.h"
#include "output/core/CardGridModel.h"

namespace ExportFile {

namespace {

struct HeaderCell {
    const char* title;
    int width;
};

constexpr HeaderCell kHeaderCells[CardGridModel::kTextColumns] = {
    {"Titolo foto", 350}, {"Descrizione", 400}, {"Data scatto", 180}, {"Location", 250},
    {"Fotografo", 250},   {"Fotocamera", 250},  {"Fotoritocco", 400}, {"Abiti", 400},
    {"Accessori", 400},   {"Trucco", 400},      {"Giudizio", 350},    {"Note", 400},
};

// The rows gathered before they are handed to the file, so a large book is written in a few large
// writes and never held whole in memory.
constexpr qsizetype kChunk = 1 << 20;

} // namespace

QByteArray header() {
    QByteArray out;
    out += "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
           "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
           "xmlns=\"http://www.w3.org/TR/REC-html40\">";
    out += "<head>";
    out += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">";
    out += "<!--[if gte mso 9]><xml>";
    out += "<x:ExcelWorkbook>";
    out += "<x:ExcelWorksheets>";
    out += "<x:ExcelWorksheet>";
    out += "<x:Name>Book Fotografico</x:Name>";
    out += "<x:WorksheetOptions>";
    out += "<x:Selected/>";
    out += "<x:Panes>";
    out += "<x:Pane>";
    out += "<x:Number>1</x:Number>";
    out += "<x:ActiveRow>3</x:ActiveRow>";
    out += "</x:Pane>";
    out += "</x:Panes>";
    out += "<x:ProtectContents>False</x:ProtectContents>";
    out += "<x:ProtectObjects>False</x:ProtectObjects>";
    out += "<x:ProtectScenarios>False</x:ProtectScenarios>";
    out += "</x:WorksheetOptions>";
    out += "</x:ExcelWorksheet>";
    out += "</x:ExcelWorksheets>";
    out += "</x:ExcelWorkbook>";
    out += "</xml><![endif]-->";
    out += "</head>";
    out += "<body>";
    out += "<table x:str>";
    out += "<tr>";
    for (const HeaderCell& cell : kHeaderCells) {
        out += "<td style=\"text-align: left; font-weight: bold;\" width=";
        out += QByteArray::number(cell.width);
        out += ">";
        out += cell.title;
        out += "</td>";
    }
    out += "</tr>";
    return out;
}

QByteArray closing() {
    return QByteArrayLiteral("</table></body></html>");
}

void appendRow(const CardGridModel& grid, int row, QByteArray& out) {
    out += "<tr>";
    for (int column = CardGridModel::colTitolo; column <= CardGridModel::colNote; ++column) {
        out += "<td style=\"text-align: left;\">";
        grid.appendExportText(row, column, out);
        out += "</td>";
    }
    out += "</tr>";
}

bool write(const QString& path, const CardGridModel& grid, QString* error) {
    const std::unique_ptr<ReplaceFile> file = fileReplacer().replace(path);
    // The error seen at the failing step: the temporary file is dropped and the earlier export stays.
    const auto failed = [&] {
        if (error)
            *error = file->errorString();
        file->cancel();
        return false;
    };
    if (!file->open())
        return failed();

    QByteArray chunk = header();
    chunk.reserve(kChunk + 4096);
    const int rows = grid.rowCount();
    for (int row = 0; row < rows; ++row) {
        appendRow(grid, row, chunk);
        if (chunk.size() >= kChunk) {
            if (!file->write(chunk))
                return failed();
            chunk.resize(0);
        }
    }
    chunk += closing();
    if (!file->write(chunk) || !file->commit())
        return failed();
    return true;
}

} // namespace ExportFile
