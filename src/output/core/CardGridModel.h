// The export window's grid as a table model: one row per card of the book (or per card chosen, for an
// export of some cards) with its position and twelve text fields, read in one sequential pass. The card texts
// are kept as the archive's Windows-1252 bytes, already trimmed, side by side in one large array, with each
// row's start and the length of each of its texts, so a book of a hundred thousand cards fills the grid about
// as fast as its file is read and takes little memory; a cell is turned into text only when the view shows
// it. Only the retouching and judgement columns accept edits, which change the grid and nothing else.
#pragma once

#include "base/LargeArray.h"
#include "output/core/CardChoice.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>

class CardGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        colNum,
        colTitolo,
        colDescrizione,
        colData,
        colLocation,
        colFotografo,
        colFotocamera,
        colFotoritocco,
        colAbiti,
        colAccessori,
        colTrucco,
        colGiudizio,
        colNote,
    };
    static constexpr int kColumnCount = 13;
    // The text columns after the position, exported as cells 1 to 12.
    static constexpr int kTextColumns = 12;
    // The rows the grid shows before a book with cards has filled it.
    static constexpr int kInitialRows = 10;
    // Cards read from the archive in one transfer.
    static constexpr int kBlockCards = 256;

    explicit CardGridModel(QObject* parent = nullptr);

    static QString header(int column);
    static int width(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Fills the grid from the book's archive: a missing archive is created empty; an existing one is
    // only read (a book on a read-only disk can be exported); an empty book leaves the grid as it is;
    // otherwise the grid gets one row per card, in file order. With cards chosen, it gets one row per
    // card chosen, in file order, each showing its own position, and the cards not chosen are passed
    // over; a choice with no card, or with a card the book does not have, fills nothing and returns
    // false with the reason. When the archive cannot be opened or read, or the memory runs out, the rows
    // received so far stay, the others are empty, the archive is closed and false is returned with the
    // reason in error (when given); nothing is shown to the user.
    bool fill(const QString& archivePath, QString* error = nullptr,
              const CardChoice::Cards& cards = std::nullopt);

    // The text of a cell as the grid shows it (an edit as typed).
    QString text(int row, int column) const;

    // The twelve texts of a row as the export file takes them, cell 1 (the title) first: trimmed, in
    // Windows-1252. Stored texts are returned in place; an edit is converted into the matching entry
    // of `edited`, which then holds it. True when the row has no edit, so that its texts lie one after
    // the other in memory and can be looked through at once.
    bool exportTexts(int row, std::array<QByteArrayView, kTextColumns>& texts,
                     std::array<QByteArray, kTextColumns>& edited) const;

private:
    // The stored Windows-1252 bytes of a received row's text column (no edit applied).
    QByteArrayView stored(int row, int column) const;
    static qint64 key(int row, int column) { return qint64(row) * kColumnCount + column; }

    int m_rows = kInitialRows;
    // Rows [0, m_received) hold a card read from the archive.
    int m_received = 0;
    // The position of each row's card when the grid holds the cards chosen; empty when it holds the
    // whole book, whose row r is the card at position r + 1.
    CardChoice::Positions m_positions;
    // Where a received row's texts start in m_text, and the length of each: a text follows the one
    // before it. A field holds at most 255 bytes.
    struct RowTexts {
        qint64 start;
        std::array<quint8, kTextColumns> lengths;
    };
    LargeArray<char> m_text;
    LargeArray<RowTexts> m_rowTexts;
    QHash<qint64, QString> m_edits;
};
