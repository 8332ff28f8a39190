#include "PlaylistFixture.h"

#include "about/AboutWindow.h"

#include "player/ImageView.h"
#include "player/PictureButton.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QLabel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>

namespace {

const char* const controlNames[] = {"animationBox", "speedBar",   "list",       "addButton",
                                    "removeButton", "loadButton", "saveButton", "aboutButton"};

QRect barPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

// A click that comes from the window system, so that a modal window can block it.
void clickThroughWindow(QWidget* control) {
    QWidget* window = control->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      control->mapTo(window, control->rect().center()));
}

// Whether text drawn in white shows in the area: smoothed glyphs leave few
// pixels fully white, so nearly white counts.
// Where the check box draws its caption, in its window's coordinates.
QRect captionArea(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    return box->style()
        ->subElementRect(QStyle::SE_CheckBoxContents, &option, box)
        .translated(box->pos());
}

TEST_F(PlaylistFixture, EveryControlShowsInsideTheBlackWindowAndTheListIsWhiteOnBlack) {
    add("a.mid");
    PlaylistWindow& window = playlist();
    for (const char* name : controlNames) {
        QWidget* one = control(window, name);
        EXPECT_TRUE(one->isVisible()) << name;
        EXPECT_TRUE(window.rect().contains(one->geometry())) << name;
    }
    const std::pair<const char*, const char*> captions[] = {{"addButton", "追加"},
                                                            {"removeButton", "削除"},
                                                            {"loadButton", "読込"},
                                                            {"saveButton", "保存"},
                                                            {"aboutButton", "About"}};
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(button(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(animationBox()->text(), "アニメーション");

    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.pixelColor(window.width() - 1, window.height() - 1), QColor(Qt::black));
    const QRect firstEntry = list()->visualRect(list()->model()->index(0, 0));
    EXPECT_TRUE(
        holdsWhite(shot, firstEntry.translated(list()->viewport()->mapTo(&window, QPoint()))));
    EXPECT_EQ(shot.pixelColor(list()->geometry().center()), QColor(Qt::black));
    EXPECT_TRUE(holdsWhite(shot, captionArea(animationBox())));
    EXPECT_EQ(shot.pixelColor(animationBox()->geometry().bottomRight()), QColor(Qt::black));
    // The buttons keep the system's colours.
    const QRect addButton = button("addButton")->geometry();
    EXPECT_NE(shot.pixelColor(addButton.left() + 3, addButton.center().y()), QColor(Qt::black));
}

TEST_F(PlaylistFixture, TheCheckBoxHasTheFocusAndTabFollowsTheDesignedOrder) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QStringList order;
    for (std::size_t i = 0; i < std::size(controlNames); ++i) {
        QWidget* focused = QApplication::focusWidget();
        order << (focused ? focused->objectName() : QString());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(order, QStringList(std::begin(controlNames), std::end(controlNames)));
}

// What a screen reader finds: each window as a window, About as a dialog,
// and in each every part it shows, with a name of its own (About's line
// aside); the pictures that can be clicked tell what they do in a tooltip
// too. The mascot's frames, which are never seen, are not among them.
TEST_F(PlaylistFixture, ScreenReadersFindEachWindowAndANameForEveryPartItShows) {
    AboutWindow& about = windows().about().load();
    about.show();
    const std::pair<QWidget*, QAccessible::Role> windowRoles[] = {
        {&player(), QAccessible::Window},
        {&playlist(), QAccessible::Window},
        {&about, QAccessible::Dialog}};
    for (const auto& [window, role] : windowRoles) {
        const std::string title = window->windowTitle().toStdString();
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), role) << title;
        QStringList names;
        for (int i = 0; i < reader->childCount(); ++i) {
            QAccessibleInterface* part = reader->child(i);
            if (part->state().invisible || part->role() == QAccessible::Border)
                continue;
            const QString name = part->text(QAccessible::Name);
            const std::string where = title + ": " + part->object()->objectName().toStdString();
            EXPECT_FALSE(name.isEmpty()) << where;
            EXPECT_FALSE(names.contains(name)) << name.toStdString();
            names << name;
            QObject* control = part->object();
            if (qobject_cast<PictureButton*>(control) || qobject_cast<ImageView*>(control)) {
                EXPECT_FALSE(qobject_cast<QWidget*>(control)->toolTip().isEmpty()) << where;
            }
        }
        EXPECT_GE(names.size(), 5) << title;
    }
}

// A screen reader hears of an entry with the focus only while the list has
// it; back in the list, the keyboard goes on from the same entry.
TEST_F(PlaylistFixture, AnEntryHasTheFocusOnlyWhileTheListHasIt) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.addFiles({"/music/a.mid", "/music/b.mid", "/music/c.mid"});
    QAccessibleTableInterface* rows =
        QAccessible::queryAccessibleInterface(list())->tableInterface();
    ASSERT_NE(rows, nullptr);
    const auto focusedEntries = [rows] {
        QList<int> focused;
        for (int row = 0; row < rows->rowCount(); ++row)
            if (rows->cellAt(row, 0)->state().focused)
                focused << row;
        return focused;
    };
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), list());
    press(Qt::Key_Down);
    EXPECT_EQ(focusedEntries(), QList<int>({1}));

    press(Qt::Key_Tab);
    EXPECT_EQ(focusedEntries(), QList<int>());
    EXPECT_EQ(list()->selectedIndex(), 1);
    press(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(focusedEntries(), QList<int>({1}));
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(state().currentFile, "/music/c.mid");
}

// The bar and the list show when the keyboard is on them, as the player's
// picture buttons do.
TEST_F(PlaylistFixture, TheBarAndTheListShowWhenTheyHaveTheFocus) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const QImage bar = speedBar()->grab().toImage();
    const QImage entries = list()->grab().toImage();
    press(Qt::Key_Tab);
    EXPECT_TRUE(speedBar()->grab().toImage() != bar);
    press(Qt::Key_Tab);
    EXPECT_TRUE(speedBar()->grab().toImage() == bar);
    EXPECT_TRUE(list()->grab().toImage() != entries);
    press(Qt::Key_Tab);
    EXPECT_TRUE(list()->grab().toImage() == entries);
}

// The designed focus order: the check box, the bar, the list, then "追加".
TEST_F(PlaylistFixture, AKeyboardAloneAddsEntriesAndPlaysThem) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (int tab = 0; tab < 3; ++tab)
        press(Qt::Key_Tab);
    state().currentFile = "/music/b.mid";
    press(Qt::Key_Return);
    state().currentFile = "/music/a.mid";
    press(Qt::Key_Space);
    EXPECT_EQ(shownEntries(), QStringList({"/music/a.mid", "/music/b.mid"}));

    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), list());
    press(Qt::Key_Return); // the first entry, framed as the list takes the focus
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "open /music/a.mid", "play"}));
    EXPECT_EQ(list()->selectedIndex(), 0);
    press(Qt::Key_Down);
    RecordingSequencer::log().clear();
    press(Qt::Key_Return);
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "open /music/b.mid", "play"}));
    EXPECT_EQ(player().windowTitle(), "/music/b.mid");
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlaylistFixture, AddPutsTheCurrentFileInItsPlaceIgnoringCase) {
    click("addButton"); // before any file: one empty entry
    EXPECT_EQ(shownEntries(), QStringList({""}));
    add("B.mid");
    add("a.mid");
    add("C.mid");
    EXPECT_EQ(shownEntries(), QStringList({"", "a.mid", "B.mid", "C.mid"}));
    add("b.MID");
    add("a.mid");
    EXPECT_EQ(shownEntries(), QStringList({"", "a.mid", "a.mid", "B.mid", "b.MID", "C.mid"}));
}

// Files dropped or named on the command line go in as far as there is room:
// filling its last free places exactly is no overflow.
TEST_F(PlaylistFixture, AddToAFullListSaysSoAndAddsOnlyWhatFits) {
    QStringList full;
    for (int i = 0; i < SortedList::MaxEntries - 1; ++i)
        full << QStringLiteral("/m/%1.mid").arg(i);
    list()->addAll(full);
    playlist().addFiles({"/m/a.mid", "/m/b.mid", "/m/c.mid"});
    EXPECT_EQ(list()->count(), SortedList::MaxEntries);
    EXPECT_TRUE(list()->entries().contains("/m/a.mid"));
    ASSERT_EQ(messages.size(), 1);
    list()->removeAt(0);
    list()->removeAt(0);
    playlist().addFiles({"/m/x.mid", "/m/y.mid"});
    EXPECT_EQ(list()->count(), SortedList::MaxEntries);
    EXPECT_EQ(messages.size(), 1);
    add("/m/one-more.mid");
    EXPECT_EQ(list()->count(), SortedList::MaxEntries);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages[1].contains("いっぱい"));
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(windows().playlist().isLoaded());
}

TEST_F(PlaylistFixture, DeleteRemovesTheChosenEntryAndNothingWhenNoneIsChosen) {
    add("a.mid");
    add("b.mid");
    add("c.mid");
    click("removeButton");
    EXPECT_EQ(list()->count(), 3);

    clickEntry(1);
    click("removeButton");
    EXPECT_EQ(shownEntries(), QStringList({"a.mid", "c.mid"}));
    // The entry that moved up was not chosen: a second press deletes nothing.
    EXPECT_EQ(list()->selectedIndex(), -1);
    click("removeButton");
    EXPECT_EQ(list()->count(), 2);
    clickEntry(0);
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_EQ(shownEntries(), QStringList({"c.mid"}));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(PlaylistFixture, DoubleClickPlaysTheEntryEvenAnEmptyOne) {
    add("/music/x.mid");
    state().currentFile = "/music/current.mid";
    add("");
    doubleClickEntry(0);
    EXPECT_EQ(state().currentFile, "");
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "open ", "play"}));
    EXPECT_EQ(player().windowTitle(), "");

    RecordingSequencer::log().clear();
    doubleClickEntry(1);
    EXPECT_EQ(state().currentFile, "/music/x.mid");
    EXPECT_TRUE(RecordingSequencer::log().contains("open /music/x.mid"));
    EXPECT_TRUE(animationTimer()->isActive());
}

// Return plays the entry the list frames; an empty list frames none.
TEST_F(PlaylistFixture, ReturnOnAnEmptyListPlaysNothing) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    list()->setFocus();
    press(Qt::Key_Return);
    press(Qt::Key_Enter);

    add("/music/a.mid"); // then emptied by deleting its one entry
    clickEntry(0);
    click("removeButton");
    list()->setFocus();
    press(Qt::Key_Return);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(state().currentFile, "/music/a.mid");
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
}

TEST_F(PlaylistFixture, TheCheckBoxSwitchesOnlyTheMascotTimer) {
    QTimer* timer = animationTimer();
    click(animationBox());
    EXPECT_EQ(state().animation, AnimationSwitch::Off);
    EXPECT_FALSE(timer->isActive());
    click(animationBox()); // nothing plays: the mascot moves all the same
    EXPECT_EQ(state().animation, AnimationSwitch::On);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);

    click(control(player(), "playButton"));
    RecordingSequencer::log().clear();
    click(animationBox()); // during playback: the music goes on
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(state().animation, AnimationSwitch::Off);
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());

    click(animationBox());
    animationBox()->setCheckState(Qt::PartiallyChecked); // stored, the timer left alone
    EXPECT_EQ(state().animation, AnimationSwitch::Mixed);
    EXPECT_TRUE(timer->isActive());
}

TEST_F(PlaylistFixture, TheBarRunsFrom1To1000AndSetsTheIntervalAtOnce) {
    playlist().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&playlist()));
    click(animationBox());
    click(animationBox());
    ASSERT_TRUE(animationTimer()->isActive());

    // The keys go to the bar once it is clicked, not to the box.
    click(speedBar());
    press(Qt::Key_Home);
    EXPECT_EQ(state().frameInterval, 1);
    EXPECT_EQ(animationTimer()->interval(), 1);
    press(Qt::Key_End);
    EXPECT_EQ(state().frameInterval, 1000);
    EXPECT_EQ(animationTimer()->interval(), 1000);
    EXPECT_TRUE(animationTimer()->isActive());
}

TEST_F(PlaylistFixture, TheBarStepsByOneAndTenAndReportsADragOnlyOnRelease) {
    QScrollBar* bar = speedBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(state().frameInterval, 501);
    QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, QStyle::SC_ScrollBarSubPage).center());
    EXPECT_EQ(state().frameInterval, 491);
    EXPECT_EQ(animationTimer()->interval(), 491);

    const QPoint thumb = barPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, thumb + QPoint(30, 0));
    EXPECT_NE(bar->sliderPosition(), 491);
    EXPECT_EQ(state().frameInterval, 491);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(30, 0));
    EXPECT_GT(state().frameInterval, 491);
    EXPECT_EQ(state().frameInterval, bar->value());
    EXPECT_EQ(animationTimer()->interval(), bar->value());
}

TEST_F(PlaylistFixture, AReopenedWindowStartsAfreshWhileTheSharedStateStays) {
    add("a.mid");
    speedBar()->setValue(800);
    click(animationBox());
    playlist().close();
    flushDeletes();
    EXPECT_FALSE(windows().playlist().isLoaded());
    EXPECT_EQ(programEnds, 0);

    windows().playlist().show();
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
    EXPECT_EQ(animationBox()->checkState(), Qt::Checked);
    EXPECT_EQ(speedBar()->value(), 500);
    EXPECT_EQ(state().frameInterval, 800);
    EXPECT_EQ(state().animation, AnimationSwitch::Off);
    EXPECT_FALSE(animationTimer()->isActive());
    EXPECT_EQ(animationTimer()->interval(), 800);
}

// Back from About, the keyboard goes on where it was.
TEST_F(PlaylistFixture, TheFocusComesBackToAboutWhenAboutClosesWithEscape) {
    PlaylistWindow& window = playlist();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    press(Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), button("aboutButton"));
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        opened = windows().about().isLoaded();
        QTest::keyClick(windows().about()->windowHandle(), Qt::Key_Escape);
    });
    press(Qt::Key_Space);
    ASSERT_TRUE(opened);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), button("aboutButton"));
}

TEST_F(PlaylistFixture, AboutIsModalWhileTheMascotKeepsMoving) {
    speedBar()->setValue(5);
    click(animationBox());
    click(animationBox());
    int ticks = 0;
    QObject::connect(animationTimer(), &QTimer::timeout, [&] { ++ticks; });
    QWidget* playButton = control(player(), "playButton");

    bool opened = false;
    int ticksWhileOpen = 0;
    QTimer::singleShot(0, [&] {
        opened = windows().about().isLoaded() && windows().about()->isVisible() &&
                 windows().about()->isModal();
        clickThroughWindow(button("addButton"));
        clickThroughWindow(playButton);
        QTest::qWait(200);
        ticksWhileOpen = ticks;
        windows().about()->close();
    });
    click("aboutButton");
    EXPECT_TRUE(opened);
    EXPECT_GT(ticksWhileOpen, 5);
    EXPECT_EQ(list()->count(), 0);
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
    EXPECT_FALSE(windows().about().isLoaded());

    clickThroughWindow(button("addButton"));
    EXPECT_EQ(list()->count(), 1);
    clickThroughWindow(playButton);
    EXPECT_TRUE(RecordingSequencer::log().contains("play"));
}

} // namespace
