// The export window's grid as a table model: one row per card of the book with its position and twelve
// text fields, read in one sequential pass. The card texts are kept as the archive's Windows-1252
// bytes, already trimmed, side by side in one buffer, so a book of a hundred thousand cards fills the
// grid quickly and takes little memory; a cell is turned into text only when the view shows it.
// Only the retouching and judgement columns accept edits, which change the grid and nothing else.
#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <vector>

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

    // Fills the grid from the book's archive: a missing archive is created empty; an empty book leaves
    // the grid as it is; otherwise the grid gets one row per card, in file order. When the archive
    // cannot be opened or read, the rows received so far stay, the others are empty, the archive is
    // closed and false is returned; nothing is shown to the user.
    bool fill(const QString& archivePath);

    // The text of a cell as the grid shows it (an edit as typed).
    QString text(int row, int column) const;

    // Appends the text of a text column of a row, trimmed, in Windows-1252, with "&" written "&amp;"
    // and "<" written "&lt;", as the export file holds it.
    void appendExportText(int row, int column, QByteArray& out) const;

private:
    // The stored Windows-1252 bytes of a received row's text column (no edit applied).
    QByteArrayView stored(int row, int column) const;
    static qint64 key(int row, int column) { return qint64(row) * kColumnCount + column; }

    int m_rows = kInitialRows;
    // Rows [0, m_received) hold a card read from the archive.
    int m_received = 0;
    QByteArray m_text;
    // For each received row, where each of its twelve texts ends in m_text; a text starts where the
    // one before it ends.
    std::vector<std::array<qsizetype, kTextColumns>> m_ends;
    QHash<qint64, QString> m_edits;
};
