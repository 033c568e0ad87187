#include "output/core/CardGridModel.h"

#include "archive/core/BookArchive.h"
#include "archive/core/Cp1252.h"
#include "archive/core/TScheda.h"
#include "base/TextRules.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

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
        return row < m_received
                   ? QString::number(m_positions.empty() ? row + 1 : m_positions[std::size_t(row)])
                   : QString();
    if (const auto edit = m_edits.constFind(key(row, column)); edit != m_edits.constEnd())
        return *edit;
    return Cp1252::decode(stored(row, column));
}

QByteArrayView CardGridModel::stored(int row, int column) const {
    if (row >= m_received)
        return {};
    const RowTexts& texts = m_rowTexts[std::size_t(row)];
    const int field = column - 1;
    qint64 begin = texts.start;
    for (int f = 0; f < field; ++f)
        begin += texts.lengths[std::size_t(f)];
    return QByteArrayView(m_text.data() + begin, texts.lengths[std::size_t(field)]);
}

bool CardGridModel::exportTexts(int row, std::array<QByteArrayView, kTextColumns>& texts,
                                std::array<QByteArray, kTextColumns>& edited) const {
    if (row >= m_received) {
        texts.fill(QByteArrayView());
    } else {
        const RowTexts& stored = m_rowTexts[std::size_t(row)];
        const char* at = m_text.data() + stored.start;
        for (std::size_t f = 0; f < kTextColumns; ++f) {
            texts[f] = QByteArrayView(at, stored.lengths[f]);
            at += stored.lengths[f];
        }
    }
    if (m_edits.isEmpty())
        return true;
    bool untouched = true;
    for (int f = 0; f < kTextColumns; ++f) {
        if (const auto edit = m_edits.constFind(key(row, colTitolo + f)); edit != m_edits.constEnd()) {
            edited[std::size_t(f)] = Cp1252::encode(TextRules::trim(*edit));
            texts[std::size_t(f)] = edited[std::size_t(f)];
            untouched = false;
        }
    }
    return untouched;
}

bool CardGridModel::fill(const QString& archivePath, QString* error, const CardChoice::Cards& cards) {
    BookArchive archive; // closes the file on every way out
    try {
        if (QFileInfo::exists(archivePath))
            archive.openForReading(archivePath);
        else
            archive.open(archivePath);
        const int bookCount = archive.count();
        CardChoice::Positions chosen;
        if (cards) {
            chosen = CardChoice::ordered(*cards);
            if (const QString problem = CardChoice::problemIn(chosen, bookCount); !problem.isEmpty()) {
                archive.close();
                if (error)
                    *error = problem;
                return false;
            }
        }
        const int count = cards ? int(chosen.size()) : bookCount;
        if (count == 0) {
            archive.close();
            return true;
        }

        beginResetModel();
        const auto reset = qScopeGuard([this] { endResetModel(); });
        m_rows = count;
        m_received = 0;
        m_edits.clear();
        m_positions.clear();
        qsizetype cardRoom = 0;
        for (int f = 0; f < kTextColumns; ++f)
            cardRoom += TScheda::layout(TScheda::Field(f)).capacity;
        m_text.reset(std::size_t(count) * std::size_t(cardRoom));
        m_rowTexts.reset(std::size_t(count));
        // What is left of the reservations is given back however the reading ends.
        const auto trim = qScopeGuard([this] {
            m_text.shrinkToFit();
            m_rowTexts.shrinkToFit();
        });

        const auto receive = [this](const TScheda& card) {
            RowTexts texts{qint64(m_text.size()), {}};
            for (int f = 0; f < kTextColumns; ++f) {
                const QByteArrayView trimmed = card.storedText(TScheda::Field(f));
                if (!trimmed.isEmpty())
                    std::memcpy(m_text.grow(std::size_t(trimmed.size())), trimmed.data(),
                                std::size_t(trimmed.size()));
                texts.lengths[std::size_t(f)] = quint8(trimmed.size());
            }
            m_rowTexts.push_back(texts);
            ++m_received;
        };
        if (cards) {
            m_positions = std::move(chosen);
            CardChoice::readChosen(archive, m_positions, kBlockCards,
                                   [&](const TScheda& card, int) { receive(card); });
        } else {
            std::vector<TScheda> block;
            while (m_received < count && archive.readBlock(block, kBlockCards) > 0) {
                for (const TScheda& card : block) {
                    receive(card);
                    if (m_received == count)
                        break;
                }
            }
        }
        archive.close();
        return true;
    } catch (const ArchiveError& failure) {
        if (error)
            *error = failure.text();
        return false;
    } catch (const std::bad_alloc&) {
        // A book too large for the memory left: the rows received so far stay.
        if (error)
            *error = QStringLiteral("memoria insufficiente per leggere tutte le schede del book");
        return false;
    }
}
