#pragma once

#include "playlist/SortedListModel.h"

#include <QListView>

// The playlist's list box: a list view over the sorted list, with the
// operations the handlers use. One entry at most is selected.
class SortedListBox : public QListView {
    Q_OBJECT
public:
    explicit SortedListBox(QWidget* parent = nullptr);

    // Index of the selected entry; -1 when none is selected.
    int ListIndex() const;
    void setListIndex(int index);
    // Text of the selected entry; empty when none is selected.
    QString Text() const;
    QString List(int index) const;
    int ListCount() const;
    const QStringList& entries() const { return model_.list().entries(); }

    // Each entry goes to its sorted place. Throws PeloraError when the list
    // is full (AddItem) or would overflow (AddItems), changing nothing.
    void AddItem(const QString& item);
    // Adds many at once, as AddItem in their order would, sorting only once.
    void AddItems(const QStringList& items);
    // Throws PeloraError for an index outside the list, -1 included.
    void RemoveItem(int index);
    void Clear();

signals:
    // A double-click on an entry; the press before it has selected it.
    void DblClick();

private:
    SortedListModel model_;
};
