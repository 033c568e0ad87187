#include "archive/core/CardOverviewModel.h"

#include "archive/core/BookArchive.h"
#include "archive/core/PhotoStore.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

CardOverviewModel::CardOverviewModel(QObject* parent)
    : QAbstractListModel(parent)
    , m_thumbnails(kLeastKept) {
    connect(&m_thumbnails, &ThumbnailLoader::ready, this, [this](int position) {
        if (position < 1 || position > m_count)
            return;
        const QModelIndex changed = index(position - 1);
        Q_EMIT dataChanged(changed, changed, {ThumbnailRole, ThumbnailStateRole});
    });
}

void CardOverviewModel::setBook(const QString& bookName, const QString& archivePath) {
    beginResetModel();
    m_bookName = bookName;
    m_archivePath = archivePath;
    m_blocks.clear();
    m_blockUse.clear();
    m_thumbnails.setBook(bookName);
    m_thumbnails.clear();
    m_archiveStamp = FileStamp::of(archivePath);
    m_count = countCards();
    endResetModel();
}

void CardOverviewModel::setThumbnailBox(QSize box) {
    if (box == m_thumbnails.box())
        return;
    m_thumbnails.setBox(box);
    if (m_count > 0)
        Q_EMIT dataChanged(index(0), index(m_count - 1), {ThumbnailRole, ThumbnailStateRole});
}

void CardOverviewModel::setVisibleRows(int first, int last, int onScreen) {
    m_firstVisible = first;
    m_lastVisible = last;
    m_thumbnails.setWanted(first + 1, last + 1);
    m_thumbnails.setCapacity(std::max(kLeastKept, 2 * onScreen));
}

int CardOverviewModel::countCards() const {
    // The archive's whole records; an incomplete last one is no card.
    const qint64 size = QFileInfo(m_archivePath).size();
    return int(std::min<qint64>(size / qint64(TScheda::kSize), BookArchive::kMaxCards));
}

void CardOverviewModel::refresh() {
    const FileStamp stamp = FileStamp::of(m_archivePath);
    if (stamp == m_archiveStamp) {
        m_thumbnails.recheck(m_firstVisible + 1, m_lastVisible + 1);
        return;
    }
    m_archiveStamp = stamp;
    const int count = countCards();
    if (count > m_count) {
        beginInsertRows({}, m_count, count - 1);
        m_count = count;
        endInsertRows();
    } else if (count < m_count) {
        beginRemoveRows({}, count, m_count - 1);
        m_count = count;
        endRemoveRows();
    }
    m_blocks.clear();
    m_blockUse.clear();
    if (m_count > 0)
        Q_EMIT dataChanged(index(0), index(m_count - 1), {Qt::DisplayRole, TitleRole, DateRole});
    m_thumbnails.recheck(m_firstVisible + 1, m_lastVisible + 1);
}

int CardOverviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

const CardOverviewModel::Texts& CardOverviewModel::textsOf(int row) const {
    const int block = row / kBlockCards;
    if (const auto found = m_blocks.constFind(block); found != m_blocks.cend()) {
        m_blockUse.remove(block);
        m_blockUse.push_front(block);
        return (*found)[std::size_t(row % kBlockCards)];
    }
    std::vector<Texts> texts(std::size_t(std::min(kBlockCards, m_count - block * kBlockCards)));
    try {
        BookArchive archive;
        archive.openForReading(m_archivePath);
        archive.seek(std::min(block * kBlockCards, archive.count()));
        std::vector<TScheda> cards;
        archive.readBlock(cards, int(texts.size()));
        for (std::size_t i = 0; i < cards.size() && i < texts.size(); ++i)
            texts[i] = {cards[i].field(TScheda::Titolo), cards[i].field(TScheda::Data)};
    } catch (const ArchiveError&) {
        // A book that cannot be read now shows its cards without texts; the next refresh tries again.
    }
    while (int(m_blockUse.size()) >= kKeptBlocks) {
        m_blocks.remove(m_blockUse.back());
        m_blockUse.pop_back();
    }
    m_blockUse.push_front(block);
    return m_blocks.insert(block, std::move(texts)).value()[std::size_t(row % kBlockCards)];
}

QVariant CardOverviewModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_count)
        return {};
    const int row = index.row();
    switch (role) {
    case PositionRole:
        return row + 1;
    case Qt::DisplayRole:
    case TitleRole:
        return textsOf(row).title;
    case DateRole:
        return textsOf(row).date;
    case ThumbnailRole:
        return m_thumbnails.thumbnail(row + 1).picture;
    case ThumbnailStateRole:
        return int(m_thumbnails.thumbnail(row + 1).state);
    default:
        return {};
    }
}

Qt::ItemFlags CardOverviewModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

QStringList CardOverviewModel::mimeTypes() const {
    return {QStringLiteral("text/uri-list")};
}

QMimeData* CardOverviewModel::mimeData(const QModelIndexList& indexes) const {
    QList<QModelIndex> ordered = indexes;
    std::sort(ordered.begin(), ordered.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<QUrl> photos;
    for (const QModelIndex& index : ordered) {
        const QString path = PhotoStore::photoPath(m_bookName, index.row() + 1);
        if (PhotoStore::isRegularFile(path) && !PhotoStore::isPlaceholderPhoto(path))
            photos << QUrl::fromLocalFile(path);
    }
    if (photos.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setUrls(photos);
    return data;
}

Qt::DropActions CardOverviewModel::supportedDragActions() const {
    return Qt::CopyAction;
}
