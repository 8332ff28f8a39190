#pragma once

#include <QString>
#include <QStringList>

// The playlist's entries, kept in ascending order with letter case ignored.
// An entry goes in after every entry that compares equal to it, so entries
// equal apart from case keep the order they came in, and a saved list loads
// back in the same order. Duplicates and empty strings are allowed. The
// list holds at most MaxEntries, so that every index fits in 16 bits.
class SortedList {
public:
    static constexpr int MaxEntries = 32767;

    int count() const { return static_cast<int>(entries_.size()); }
    bool isFull() const { return count() >= MaxEntries; }
    const QString& at(int index) const;
    const QStringList& entries() const { return entries_; }

    // The index the entry would take if it were added now.
    int insertionIndex(const QString& entry) const;

    // The index of the entry just after (step 1) or before (step -1)
    // `entry` in the list's order; -1 when there is none. `entry` stands at
    // `known` when that index holds it (the selected one of duplicates),
    // else at the last place that holds it; an entry not in the list stands
    // where it would be added.
    int neighbour(const QString& entry, int known, int step) const;

    // Adds the entry at its sorted place and gives that index. Throws
    // PeloraError when the list is full.
    int add(const QString& entry);

    // Adds many entries at once, as adding them one by one in their order
    // would, but sorting only once. Throws PeloraError, changing nothing,
    // when they would not fit.
    void addAll(const QStringList& entries);

    // Throws PeloraError for an index outside the list (-1 included).
    void removeAt(int index);
    void clear();

    // Throw PeloraError where add/addAll or at/removeAt would, changing nothing.
    void checkRoomFor(qsizetype added) const;
    void checkIndex(int index) const;

    // What the order compares: the entry with its letter case folded.
    static QString sortKey(const QString& entry) { return entry.toCaseFolded(); }

private:
    int insertionIndexForKey(const QString& key) const;

    QStringList entries_;
    // sortKey() of each entry, computed once: comparing folded keys is much
    // cheaper than folding both sides of every comparison.
    QStringList keys_;
};
