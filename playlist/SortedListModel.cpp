#include "playlist/SortedListModel.h"

int SortedListModel::add(const QString& entry) {
    list_.checkRoomFor(1);
    const int index = list_.insertionIndex(entry);
    beginInsertRows(QModelIndex(), index, index);
    list_.add(entry);
    endInsertRows();
    return index;
}

void SortedListModel::addAll(const QStringList& entries) {
    if (entries.isEmpty())
        return;
    // The new rows land all over the list: one reset is cheaper for a view
    // than thousands of single inserts. Checked first so a refusal resets nothing.
    list_.checkRoomFor(entries.size());
    beginResetModel();
    list_.addAll(entries);
    endResetModel();
}

void SortedListModel::removeAt(int index) {
    list_.checkIndex(index);
    beginRemoveRows(QModelIndex(), index, index);
    list_.removeAt(index);
    endRemoveRows();
}

void SortedListModel::clear() {
    beginResetModel();
    list_.clear();
    endResetModel();
}

QModelIndex SortedListModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= list_.count())
        return {};
    return createIndex(row, 0);
}

int SortedListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : list_.count();
}

QVariant SortedListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= list_.count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return list_.at(index.row());
    return {};
}
