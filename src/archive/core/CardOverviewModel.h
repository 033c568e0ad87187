// The cards of a book as a list for a grid of thumbnails: the position, title and date of each card and
// its photo at thumbnail size. Nothing is read ahead: the count comes from the archive's size, a card's
// texts are read with those of its block of cards when the grid first shows one of them (a few blocks
// are kept), and thumbnails come from a ThumbnailLoader. So a book of any length opens at once, and
// scrolling through it keeps the same memory.
//
// Dragged out of the grid, cards give their photo files.
#pragma once

#include "archive/core/ThumbnailLoader.h"

#include <QAbstractListModel>
#include <QHash>
#include <QString>

#include <list>
#include <vector>

class CardOverviewModel final : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        PositionRole = Qt::UserRole + 1, // int, from 1
        TitleRole,                       // QString
        DateRole,                        // QString
        ThumbnailRole,                   // QImage, null while pending or for a card without a photo
        ThumbnailStateRole,              // int: a ThumbnailLoader::Thumbnail::State
    };

    // Cards read from the archive in one transfer, and the blocks whose texts are kept.
    static constexpr int kBlockCards = 256;
    static constexpr int kKeptBlocks = 32;
    // Thumbnails kept: the screen's and those of the screen just left, and at least this many.
    static constexpr int kLeastKept = 24;

    explicit CardOverviewModel(QObject* parent = nullptr);

    // The book shown: its cards are counted, not read.
    void setBook(const QString& bookName, const QString& archivePath);
    QString bookName() const { return m_bookName; }
    // The box a thumbnail fits in, in device pixels.
    void setThumbnailBox(QSize box);
    // The rows near the screen (from 0), whose thumbnails are worth decoding, and how many cells the
    // screen shows: thumbnails of other rows not yet decoded are not decoded, and two screens' worth
    // are kept.
    void setVisibleRows(int first, int last, int onScreen);
    // Looks at the book again: cards appended or gone, texts changed (only when the archive file is no
    // longer the one read: another size, time or file), photo files changed on screen.
    void refresh();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    ThumbnailLoader& thumbnails() { return m_thumbnails; }

private:
    struct Texts {
        QString title;
        QString date;
    };
    const Texts& textsOf(int row) const;
    int countCards() const;

    QString m_bookName;
    QString m_archivePath;
    int m_count = 0;
    FileStamp m_archiveStamp; // the archive as the texts kept were read from it
    int m_firstVisible = 0;
    int m_lastVisible = -1;
    mutable QHash<int, std::vector<Texts>> m_blocks; // by block number
    mutable std::list<int> m_blockUse;               // most recently used first
    // Asked for a thumbnail, the loader starts decoding it: the model's data() asks while it paints.
    mutable ThumbnailLoader m_thumbnails;
};
