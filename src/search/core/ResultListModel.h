// The result lines of a search as a list model: one line per card found, each keeping its card's
// position. Every line is as wide as the list's 1600 units, so long lines scroll sideways.
#pragma once

#include "search/core/CardSearch.h"

#include <QAbstractListModel>

class ResultListModel final : public QAbstractListModel {
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    void setHits(QList<CardSearch::Hit> hits);
    void clear() { setHits({}); }
    const QList<CardSearch::Hit>& hits() const { return m_hits; }
    QStringList lines() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    static constexpr int kLineWidth = 1600;

private:
    QList<CardSearch::Hit> m_hits;
};
