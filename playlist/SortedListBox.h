#pragma once

#include "playlist/SortedListModel.h"

#include <QListView>

// The playlist's list box: a list view over the sorted list, with the
// operations the playlist's commands use. One entry at most is selected.
// With the focus it shows a frame, and only then has a current entry, the
// one the keyboard moves from: while another control has the focus it is
// kept aside, so that screen readers do not tell of an entry with the focus.
class SortedListBox : public QListView {
    Q_OBJECT
public:
    explicit SortedListBox(QWidget* parent = nullptr);

    // Index of the selected entry; -1 when none is selected.
    int selectedIndex() const;
    // Selects the entry at `index` and scrolls to it; -1 selects none.
    void select(int index);
    // The selected entry; empty when none is selected.
    QString selectedEntry() const;
    int count() const;
    const QStringList& entries() const { return model_.list().entries(); }
    const SortedList& list() const { return model_.list(); }

    // Each entry goes to its sorted place. Throws PeloraError when the list
    // is full (add) or would overflow (addAll), changing nothing.
    void add(const QString& entry);
    // Adds many at once, as add() in their order would, sorting only once.
    void addAll(const QStringList& entries);
    // Throws PeloraError for an index outside the list, -1 included.
    void removeAt(int index);
    void clear();

signals:
    // Entries were added or removed.
    void entriesChanged();
    // The user chose an entry to play: a double-click on it (the press
    // before it has selected it), or Return on the current one, which
    // selects it.
    void entryChosen();
    // The user pressed Delete to remove the selected entry.
    void removalAsked();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void putCurrentAside();
    void paintFrameOnWholePixels();

    SortedListModel model_;
    // The current entry while the list does not have the focus.
    QPersistentModelIndex currentAside_;
};
