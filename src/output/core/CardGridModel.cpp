#include "output/core/CardGridModel.h"

#include "archive/core/BookArchive.h"
#include "archive/core/Cp1252.h"
#include "archive/core/TScheda.h"
#include "base/TextRules.h"

#include <QScopeGuard>

#include <algorithm>
#include <cstring>

namespace {

struct ColumnInfo {
    const char16_t* header;
    int width;
};

constexpr std::array<ColumnInfo, CardGridModel::kColumnCount> kColumns = {{
    {u"N.", 60},
    {u"Titolo foto", 300},
    {u"Descrizione", 350},
    {u"Data scatto", 120},
    {u"Location", 250},
    {u"Fotografo", 250},
    {u"Fotocamera", 250},
    {u"Fotoritocco", 300},
    {u"Abiti", 300},
    {u"Accessori", 300},
    {u"Trucco", 300},
    {u"Giudizio", 300},
    {u"Note", 350},
}};

bool isEditable(int column) {
    return column == CardGridModel::colFotoritocco || column == CardGridModel::colGiudizio;
}

// In Windows-1252 the codes 0 to 32 are the same characters as in Unicode and no other byte stands
// for one of them, so trimming the stored bytes trims the text exactly as the archive rules do.
QByteArrayView trimmedBytes(QByteArrayView bytes) {
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return bytes.sliced(begin, end - begin);
}

// Appends bytes at the end of a buffer. QByteArray::append goes through the general insertion path,
// which costs more than the copy itself for the short texts of a card; resize grows the buffer
// geometrically, so appending stays linear.
void appendBytes(QByteArray& out, const char* data, qsizetype size) {
    if (size <= 0)
        return;
    const qsizetype at = out.size();
    out.resize(at + size);
    std::memcpy(out.data() + at, data, std::size_t(size));
}

void appendEscaped(QByteArrayView bytes, QByteArray& out) {
    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    for (const char* c = from; c != end; ++c) {
        if (*c != '&' && *c != '<')
            continue;
        appendBytes(out, from, c - from);
        if (*c == '&')
            appendBytes(out, "&amp;", 5);
        else
            appendBytes(out, "&lt;", 4);
        from = c + 1;
    }
    appendBytes(out, from, end - from);
}

} // namespace

CardGridModel::CardGridModel(QObject* parent)
    : QAbstractTableModel(parent) {}

QString CardGridModel::header(int column) {
    return QString::fromUtf16(kColumns[column].header);
}

int CardGridModel::width(int column) {
    return kColumns[column].width;
}

int CardGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int CardGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CardGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.row(), index.column());
}

bool CardGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !isEditable(index.column()))
        return false;
    m_edits.insert(key(index.row(), index.column()), value.toString());
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags CardGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant CardGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return header(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

QString CardGridModel::text(int row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= kColumnCount)
        return {};
    if (column == colNum)
        return row < m_received ? QString::number(row + 1) : QString();
    if (const auto edit = m_edits.constFind(key(row, column)); edit != m_edits.constEnd())
        return *edit;
    return Cp1252::decode(stored(row, column));
}

QByteArrayView CardGridModel::stored(int row, int column) const {
    if (row >= m_received)
        return {};
    const auto& ends = m_ends[std::size_t(row)];
    const int field = column - 1;
    const qsizetype end = ends[std::size_t(field)];
    qsizetype begin = 0;
    if (field > 0)
        begin = ends[std::size_t(field - 1)];
    else if (row > 0)
        begin = m_ends[std::size_t(row - 1)][kTextColumns - 1];
    return QByteArrayView(m_text).sliced(begin, end - begin);
}

void CardGridModel::appendExportText(int row, int column, QByteArray& out) const {
    if (const auto edit = m_edits.constFind(key(row, column)); edit != m_edits.constEnd()) {
        appendEscaped(Cp1252::encode(TextRules::trim(*edit)), out);
        return;
    }
    appendEscaped(stored(row, column), out);
}

bool CardGridModel::fill(const QString& archivePath) {
    BookArchive archive; // closes the file on every way out
    try {
        archive.Open(archivePath);
        const int count = archive.Count();
        if (count == 0) {
            archive.Close();
            return true;
        }

        beginResetModel();
        const auto reset = qScopeGuard([this] { endResetModel(); });
        m_rows = count;
        m_received = 0;
        m_text.clear();
        m_ends.clear();
        m_edits.clear();
        m_ends.reserve(std::size_t(count));

        std::vector<TScheda> block;
        while (m_received < count && archive.ReadBlock(block, kBlockCards) > 0) {
            for (const TScheda& card : block) {
                const auto& bytes = card.bytes();
                std::array<qsizetype, kTextColumns> ends{};
                for (int f = 0; f < kTextColumns; ++f) {
                    const TScheda::Layout& layout = TScheda::layout(TScheda::Field(f));
                    // A length byte beyond the field's room reads as the room, as the card itself does.
                    const int length = std::min<int>(bytes[layout.offset], layout.capacity);
                    const auto* text = reinterpret_cast<const char*>(bytes.data() + layout.offset + 1);
                    const QByteArrayView trimmed = trimmedBytes(QByteArrayView(text, length));
                    appendBytes(m_text, trimmed.data(), trimmed.size());
                    ends[std::size_t(f)] = m_text.size();
                }
                m_ends.push_back(ends);
                ++m_received;
                if (m_received == count)
                    break;
            }
        }
        archive.Close();
        return true;
    } catch (const ArchiveError&) {
        return false;
    }
}
