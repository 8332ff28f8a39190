#pragma once

#include "playlist/SortedList.h"

#include <QAbstractListModel>

// The sorted list as a Qt list model: the list decides every entry's place,
// views only show it (they must not sort). Every change goes through here so
// that views hear of exactly the rows that changed.
class SortedListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    const SortedList& list() const { return list_; }

    int add(const QString& entry);
    void addAll(const QStringList& entries);
    void removeAt(int index);
    void clear();

    // Views ask for every row's index on each layout of the list: answered
    // without the base class's virtual row and column counts.
    QModelIndex index(int row, int column = 0,
                      const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    SortedList list_;
};
