#include "playlist/SortedList.h"

#include "app/Errors.h"

#include <algorithm>

bool SortedList::lessIgnoringCase(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

const QString& SortedList::at(int index) const {
    checkIndex(index);
    return entries_[index];
}

int SortedList::insertionIndex(const QString& entry) const {
    const auto place =
        std::upper_bound(entries_.cbegin(), entries_.cend(), entry, lessIgnoringCase);
    return static_cast<int>(place - entries_.cbegin());
}

int SortedList::add(const QString& entry) {
    checkRoomFor(1);
    const int index = insertionIndex(entry);
    entries_.insert(index, entry);
    return index;
}

void SortedList::addAll(const QStringList& entries) {
    checkRoomFor(entries.size());
    const qsizetype oldCount = entries_.size();
    entries_.append(entries);
    const auto added = entries_.begin() + oldCount;
    std::stable_sort(added, entries_.end(), lessIgnoringCase);
    // Entries already in the list came first, so they stay in front of equal new ones.
    std::inplace_merge(entries_.begin(), added, entries_.end(), lessIgnoringCase);
}

void SortedList::removeAt(int index) {
    checkIndex(index);
    entries_.removeAt(index);
}

void SortedList::checkRoomFor(qsizetype added) const {
    if (added > MaxEntries - entries_.size())
        throw PeloraError(
            QStringLiteral("The list cannot hold more than %1 entries.").arg(MaxEntries));
}

void SortedList::checkIndex(int index) const {
    if (index < 0 || index >= count())
        throw PeloraError(QStringLiteral("Invalid list index %1 (the list holds %2 entries).")
                              .arg(index)
                              .arg(count()));
}
