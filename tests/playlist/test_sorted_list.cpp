#include "core/Errors.h"
#include "playlist/SortedList.h"
#include "playlist/SortedListModel.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <random>

namespace {

SortedList listOf(const QStringList& arrivals) {
    SortedList list;
    for (const QString& entry : arrivals)
        list.add(entry);
    return list;
}

QStringList fullListEntries() {
    QStringList entries;
    for (int i = 0; i < SortedList::MaxEntries; ++i)
        entries << QStringLiteral("song%1.mid").arg(i, 5, 10, QLatin1Char('0'));
    return entries;
}

TEST(SortedList, OrdersIgnoringLetterCase) {
    EXPECT_EQ(listOf({"B.mid", "a.mid", "C.mid"}).entries(),
              QStringList({"a.mid", "B.mid", "C.mid"}));
    EXPECT_EQ(listOf({"/m/Zed.mid", "/m/apple.mid", "/M/bee.mid", "/m/Apple2.mid"}).entries(),
              QStringList({"/m/apple.mid", "/m/Apple2.mid", "/M/bee.mid", "/m/Zed.mid"}));
}

TEST(SortedList, EntriesEqualApartFromCaseKeepTheOrderTheyCameIn) {
    EXPECT_EQ(listOf({"x.mid", "b.MID", "A.mid", "B.mid", "b.mid"}).entries(),
              QStringList({"A.mid", "b.MID", "B.mid", "b.mid", "x.mid"}));
    EXPECT_EQ(listOf({"b.mid", "B.mid", "b.MID"}).entries(),
              QStringList({"b.mid", "B.mid", "b.MID"}));
}

TEST(SortedList, KeepsDuplicatesSideBySideAndEmptyEntriesFirst) {
    const SortedList list = listOf({"b.mid", "a.mid", "b.mid", "", "c.mid", ""});
    EXPECT_EQ(list.entries(), QStringList({"", "", "a.mid", "b.mid", "b.mid", "c.mid"}));
}

TEST(SortedList, AnEntryAddedAfterDeletesStillGoesToItsSortedPlace) {
    SortedList list = listOf({"a.mid", "c.mid", "e.mid", "g.mid"});
    list.removeAt(0);
    list.add("d.mid");
    // Stop here if the add went wrong: a list that lost track of its order
    // might write past its end on the next one.
    ASSERT_EQ(list.entries(), QStringList({"c.mid", "d.mid", "e.mid", "g.mid"}));
    list.removeAt(0);
    list.removeAt(0);
    list.add("b.mid");
    list.add("f.mid");
    EXPECT_EQ(list.entries(), QStringList({"b.mid", "e.mid", "f.mid", "g.mid"}));
}

TEST(SortedList, AddingAllAtOnceGivesWhatAddingOneByOneGives) {
    std::mt19937 random(7);
    const QStringList names{"a.mid", "A.mid", "b.mid", "B.MID", "", "c d.mid", "C,D.mid", "ä.mid"};
    QStringList before, arrivals;
    for (int i = 0; i < 200; ++i)
        before << names[random() % names.size()] + QString::number(random() % 3);
    for (int i = 0; i < 500; ++i)
        arrivals << names[random() % names.size()] + QString::number(random() % 3);

    SortedList oneByOne = listOf(before + arrivals);
    SortedList atOnce = listOf(before);
    atOnce.addAll(arrivals);
    EXPECT_EQ(atOnce.entries(), oneByOne.entries());
}

TEST(SortedList, RefusesABadIndexWithoutChange) {
    SortedList list = listOf({"a", "b"});
    EXPECT_THROW(list.removeAt(-1), PeloraError);
    EXPECT_THROW(list.removeAt(2), PeloraError);
    EXPECT_THROW(list.at(-1), PeloraError);
    EXPECT_EQ(list.count(), 2);
    list.removeAt(0);
    EXPECT_EQ(list.entries(), QStringList({"b"}));
}

TEST(SortedList, HoldsAtMost32767EntriesAndRefusesMoreWithoutChange) {
    SortedList list;
    list.addAll(fullListEntries().mid(1));
    EXPECT_FALSE(list.isFull());
    EXPECT_THROW(list.addAll({"x", "y"}), PeloraError);
    EXPECT_EQ(list.count(), SortedList::MaxEntries - 1);
    list.add("zz.mid");
    EXPECT_TRUE(list.isFull());
    EXPECT_THROW(list.add("a.mid"), PeloraError);
    EXPECT_EQ(list.count(), SortedList::MaxEntries);
    EXPECT_EQ(list.at(SortedList::MaxEntries - 1), "zz.mid");
}

// The media keys' next and previous: from the selected duplicate, from
// where a file stands, or from where one not in the list would stand.
TEST(SortedList, NeighboursFollowTheListsOrder) {
    const SortedList list = listOf({"c.mid", "a.mid", "b.mid", "B.mid", "b.mid"});
    // a.mid b.mid B.mid b.mid c.mid
    EXPECT_EQ(list.neighbour("a.mid", -1, 1), 1);
    EXPECT_EQ(list.neighbour("a.mid", -1, -1), -1);
    EXPECT_EQ(list.neighbour("c.mid", -1, 1), -1);
    EXPECT_EQ(list.neighbour("c.mid", -1, -1), 3);
    EXPECT_EQ(list.neighbour("b.mid", 1, 1), 2) << "the selected one of two duplicates";
    EXPECT_EQ(list.neighbour("b.mid", 0, 1), 4) << "a selection that is another file";
    EXPECT_EQ(list.neighbour("B.mid", -1, -1), 1);
    EXPECT_EQ(list.neighbour("abc.mid", -1, 1), 1) << "not in the list";
    EXPECT_EQ(list.neighbour("abc.mid", -1, -1), 0) << "not in the list";
    EXPECT_EQ(list.neighbour("z.mid", -1, 1), -1);
    EXPECT_EQ(SortedList().neighbour("a.mid", -1, 1), -1);
}

TEST(SortedListModel, TellsViewsExactlyWhichRowChanged) {
    SortedListModel model;
    model.addAll({"a", "c"});
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);

    model.add("B");
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(model.data(model.index(1)).toString(), "B");

    EXPECT_THROW(model.removeAt(3), PeloraError);
    EXPECT_TRUE(removed.isEmpty());
    model.removeAt(0);
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 0);
    EXPECT_EQ(model.rowCount(), 2);
}

TEST(SortedListModel, AFullListRefusesWithoutTellingViewsOfAChange) {
    SortedListModel model;
    model.addAll(fullListEntries());
    QSignalSpy reset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsAboutToBeInserted);
    EXPECT_THROW(model.add("a"), PeloraError);
    EXPECT_THROW(model.addAll({"a"}), PeloraError);
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_TRUE(inserted.isEmpty());
    EXPECT_EQ(model.rowCount(), SortedList::MaxEntries);
}

} // namespace
