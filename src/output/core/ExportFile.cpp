#include "output/core/ExportFile.h"

#include "base/ReplaceFile.h"
#include "output/core/CardGridModel.h"

#include <algorithm>
#include <array>
#include <bit>
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

// The replacement character, written for a byte that is no text in Windows-1252.
constexpr char kReplacement[] = "&#xFFFD;";

// A byte of a cell's text takes at most this many in the file once escaped (the replacement).
constexpr qsizetype kEscapedGrowth = qsizetype(sizeof kReplacement - 1);
// The markup of a row around its twelve texts.
constexpr qsizetype kRowMarkup =
    qsizetype(sizeof kRowStart - 1 + sizeof kRowEnd - 1) +
    CardGridModel::kTextColumns * qsizetype(sizeof kCellStart - 1 + sizeof kCellEnd - 1);

// The bytes a cell cannot hold as they are: "&" and "<", which would start markup, and the bytes that
// are no text in the code page the file declares, which a strict reader refuses: the control codes
// other than tab and the two line breaks, and the five codes Windows-1252 leaves undefined. A damaged
// or foreign archive may hold any of them.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> special{};
    special['&'] = special['<'] = true;
    for (int code = 0; code < 0x20; ++code)
        special[std::size_t(code)] = code != '\t' && code != '\n' && code != '\r';
    for (int code : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D})
        special[std::size_t(code)] = true;
    return special;
}();

const char* nextSpecialByte(const char* in, const char* end) {
    while (in != end && !kSpecial[static_cast<unsigned char>(*in)])
        ++in;
    return in;
}

#if defined(__GNUC__)
// Sixteen bytes at a time: every special byte is "&", "<", below 0x20 or from 0x7F to 0x9D, ranges
// that ordinary text touches only with a tab, a line break or typographic punctuation, so a block
// none of whose bytes lies there is passed over with a few vector operations, and only a block that
// has one is looked through byte by byte. Rows without special bytes cost about what the search for
// "&" and "<" alone cost.
using Block = unsigned char __attribute__((vector_size(16)));

bool mayHoldSpecial(Block bytes) {
    const auto splat = [](unsigned char byte) { return Block{} + byte; };
    const auto found = (bytes < splat(0x20)) | (bytes - splat(0x7F) < splat(0x9E - 0x7F)) |
                       (bytes == splat('&')) | (bytes == splat('<'));
    const auto words = std::bit_cast<std::array<quint64, 2>>(found);
    return (words[0] | words[1]) != 0;
}

const char* nextSpecial(const char* in, const char* end) {
    for (; end - in >= qsizetype(sizeof(Block)); in += sizeof(Block)) {
        Block bytes;
        std::memcpy(&bytes, in, sizeof bytes);
        if (mayHoldSpecial(bytes)) {
            const char* const found = nextSpecialByte(in, in + sizeof(Block));
            if (found != in + sizeof(Block))
                return found;
        }
    }
    return nextSpecialByte(in, end);
}
#else
const char* nextSpecial(const char* in, const char* end) {
    return nextSpecialByte(in, end);
}
#endif

// Writes the text at out, which has room for kEscapedGrowth times its size, with "&" as "&amp;", "<"
// as "&lt;" and a byte that is no text as the replacement character; returns the end. The stretches
// between two special bytes are copied whole.
char* putEscaped(char* out, QByteArrayView text) {
    if (text.isEmpty())
        return out; // an empty text may have no data at all, which memcpy must not be given
    const char* in = text.data();
    const char* const end = in + text.size();
    for (;;) {
        const char* const special = nextSpecial(in, end);
        if (special != in)
            std::memcpy(out, in, std::size_t(special - in));
        out += special - in;
        if (special == end)
            return out;
        if (*special == '&')
            out = put(out, "&amp;");
        else if (*special == '<')
            out = put(out, "&lt;");
        else
            out = put(out, kReplacement);
        in = special + 1;
    }
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
    return write(path, grid, Output::Progress(), error) == Result::Written;
}

Result write(const QString& path, const CardGridModel& grid, const Output::Progress& progress,
             QString* error) {
    const std::unique_ptr<ReplaceFile> file = fileReplacer().replace(path);
    // The error seen at the failing step: the temporary file is dropped and the earlier export stays.
    const auto failed = [&] {
        if (error)
            *error = file->errorString();
        file->cancel();
        return Result::Failed;
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
        // Almost no row holds a special byte: the texts of a row without edits are looked through in
        // one go, and then copied as they are.
        bool plain = false;
        if (together && length > 0) {
            const char* const first = texts.front().data();
            plain = nextSpecial(first, first + length) == first + length;
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
        if (progress && !progress(row + 1, rows)) {
            file->cancel(); // the rows written so far go with the temporary file
            return Result::Cancelled;
        }
    }
    const QByteArray end = closing();
    if (used + end.size() > buffer.size() && !flush())
        return failed();
    std::memcpy(buffer.data() + used, end.constData(), std::size_t(end.size()));
    used += end.size();
    if (!flush() || !file->commit())
        return failed();
    return Result::Written;
}

} // namespace ExportFile
