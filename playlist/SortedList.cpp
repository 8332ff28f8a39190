#include "playlist/SortedList.h"

#include "core/Errors.h"

#include <algorithm>
#include <vector>

const QString& SortedList::at(int index) const {
    checkIndex(index);
    return entries_[index];
}

int SortedList::insertionIndex(const QString& entry) const {
    return insertionIndexForKey(sortKey(entry));
}

int SortedList::insertionIndexForKey(const QString& key) const {
    const auto place = std::upper_bound(keys_.cbegin(), keys_.cend(), key);
    return static_cast<int>(place - keys_.cbegin());
}

int SortedList::neighbour(const QString& entry, int known, int step) const {
    int at = known;
    if (at < 0 || at >= count() || entries_[at] != entry) {
        // Entries equal to it apart from letter case stand just before its
        // insertion index.
        const QString key = sortKey(entry);
        const int after = insertionIndexForKey(key);
        at = after;
        for (int i = after - 1; i >= 0 && keys_[i] == key; --i) {
            if (entries_[i] == entry) {
                at = i;
                break;
            }
        }
        if (at == after) {
            // Not in the list: between the entries before and after its place.
            const int index = step > 0 ? after : after - 1;
            return index >= 0 && index < count() ? index : -1;
        }
    }
    const int index = at + step;
    return index >= 0 && index < count() ? index : -1;
}

int SortedList::add(const QString& entry) {
    checkRoomFor(1);
    QString key = sortKey(entry);
    const int index = insertionIndexForKey(key);
    entries_.insert(index, entry);
    keys_.insert(index, std::move(key));
    return index;
}

void SortedList::addAll(const QStringList& entries) {
    checkRoomFor(entries.size());
    struct Arrival {
        QString key;
        qsizetype index;
    };
    std::vector<Arrival> arrivals;
    arrivals.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i)
        arrivals.push_back({sortKey(entries[i]), i});
    std::stable_sort(arrivals.begin(), arrivals.end(),
                     [](const Arrival& a, const Arrival& b) { return a.key < b.key; });

    // Entries already in the list came first, so they stay in front of equal new ones.
    QStringList mergedEntries, mergedKeys;
    mergedEntries.reserve(entries_.size() + entries.size());
    mergedKeys.reserve(entries_.size() + entries.size());
    qsizetype old = 0;
    for (Arrival& arrival : arrivals) {
        for (; old < keys_.size() && !(arrival.key < keys_[old]); ++old) {
            mergedEntries << entries_[old];
            mergedKeys << keys_[old];
        }
        mergedEntries << entries[arrival.index];
        mergedKeys << std::move(arrival.key);
    }
    mergedEntries << entries_.mid(old);
    mergedKeys << keys_.mid(old);
    entries_ = std::move(mergedEntries);
    keys_ = std::move(mergedKeys);
}

void SortedList::removeAt(int index) {
    checkIndex(index);
    entries_.removeAt(index);
    keys_.removeAt(index);
}

void SortedList::clear() {
    entries_.clear();
    keys_.clear();
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
