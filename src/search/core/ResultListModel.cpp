#include "search/core/ResultListModel.h"

#include <QSize>

void ResultListModel::setHits(QList<CardSearch::Hit> hits) {
    beginResetModel();
    m_hits = std::move(hits);
    endResetModel();
}

QStringList ResultListModel::lines() const {
    QStringList lines;
    lines.reserve(m_hits.size());
    for (const CardSearch::Hit& hit : m_hits)
        lines << hit.line;
    return lines;
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_hits.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_hits.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_hits[index.row()].line;
    case Qt::SizeHintRole:
        return QSize(kLineWidth, 20);
    default:
        return {};
    }
}
