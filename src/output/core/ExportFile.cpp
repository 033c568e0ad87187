#include "output/core/ExportFile.h"

#include "base/ReplaceFile.h"
#include "output/core/CardGridModel.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// The rows are gathered in a buffer of this size before they are handed to the file, so a large book
// is written in a few large writes and never held whole in memory.
constexpr qsizetype kChunk = 1 << 20;

constexpr char kRowStart[] = "<tr>";
constexpr char kRowEnd[] = "</tr>";
constexpr char kCellStart[] = "<td style=\"text-align: left;\">";
constexpr char kCellEnd[] = "</td>";

template <std::size_t N> char* put(char* out, const char (&literal)[N]) {
    std::memcpy(out, literal, N - 1);
    return out + (N - 1);
}

// A cell's text can grow at most five times when escaped ("&" becomes "&amp;").
constexpr qsizetype kEscapedGrowth = 5;
// The markup of a row around its twelve texts.
constexpr qsizetype kRowMarkup =
    qsizetype(sizeof kRowStart - 1 + sizeof kRowEnd - 1) +
    CardGridModel::kTextColumns * qsizetype(sizeof kCellStart - 1 + sizeof kCellEnd - 1);

// Writes the text with "&" as "&amp;" and "<" as "&lt;" at out, which has room for five times its
// size; returns the end. The stretches between two such characters are found with memchr and copied
// whole.
char* putEscaped(char* out, QByteArrayView text) {
    if (text.isEmpty())
        return out; // an empty text may have no data at all, which memchr must not be given
    const char* in = text.data();
    const char* const end = in + text.size();
    const auto next = [&](char c) {
        const void* found = std::memchr(in, c, std::size_t(end - in));
        return found ? static_cast<const char*>(found) : end;
    };
    const char* amp = next('&');
    const char* lt = next('<');
    while (in != end) {
        const char* const special = std::min(amp, lt);
        if (special != in)
            std::memcpy(out, in, std::size_t(special - in));
        out += special - in;
        in = special;
        if (in == end)
            break;
        if (*in == '&') {
            out = put(out, "&amp;");
            ++in;
            amp = next('&');
        } else {
            out = put(out, "&lt;");
            ++in;
            lt = next('<');
        }
    }
    return out;
}

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

    const QByteArray head = header();
    QByteArray buffer(std::max(kChunk, head.size()), Qt::Uninitialized);
    std::memcpy(buffer.data(), head.constData(), std::size_t(head.size()));
    qsizetype used = head.size();
    const auto flush = [&] {
        const bool written = file->write(QByteArrayView(buffer.constData(), used));
        used = 0;
        return written;
    };

    std::array<QByteArrayView, CardGridModel::kTextColumns> texts;
    std::array<QByteArray, CardGridModel::kTextColumns> edited;
    const int rows = grid.rowCount();
    for (int row = 0; row < rows; ++row) {
        const bool together = grid.exportTexts(row, texts, edited);
        qsizetype length = 0;
        for (const QByteArrayView text : texts)
            length += text.size();
        // Almost no row holds "&" or "<": the texts of a row without edits are looked through in one
        // go, and then copied as they are.
        bool plain = false;
        if (together && length > 0) {
            const char* const first = texts.front().data();
            plain = !std::memchr(first, '&', std::size_t(length)) &&
                    !std::memchr(first, '<', std::size_t(length));
        } else if (together) {
            plain = true;
        }
        const qsizetype bound = kRowMarkup + (plain ? 1 : kEscapedGrowth) * length;
        if (used + bound > buffer.size()) {
            if (used > 0 && !flush())
                return failed();
            if (bound > buffer.size())
                buffer.resize(bound); // a very long edit
        }
        char* out = put(buffer.data() + used, kRowStart);
        for (const QByteArrayView text : texts) {
            out = put(out, kCellStart);
            if (plain) {
                if (!text.isEmpty())
                    std::memcpy(out, text.data(), std::size_t(text.size()));
                out += text.size();
            } else {
                out = putEscaped(out, text);
            }
            out = put(out, kCellEnd);
        }
        out = put(out, kRowEnd);
        used = out - buffer.constData();
    }
    const QByteArray end = closing();
    if (used + end.size() > buffer.size() && !flush())
        return failed();
    std::memcpy(buffer.data() + used, end.constData(), std::size_t(end.size()));
    used += end.size();
    if (!flush() || !file->commit())
        return failed();
    return true;
}

} // namespace ExportFile
