#include "test_form2_fixture.h"

#include "about/frmAbout.h"
#include "player/PictureButton.h"

#include <QApplication>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>

namespace {

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

QStringList entries(Form2& form) {
    QStringList texts;
    for (int i = 0; i < form.lstName->ListCount(); ++i)
        texts << form.lstName->List(i);
    return texts;
}

void doubleClickRow(SortedListBox* list, int row) {
    QCoreApplication::processEvents(); // the view lays out its rows
    const QPoint centre = list->visualRect(list->model()->index(row, 0)).center();
    // As the window system delivers one: press, release, double-click, release.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, centre);
}

TEST_F(Form2Test, TheWindowStandsAsDesigned) {
    Form2& form = playlist();
    EXPECT_EQ(form.windowTitle(), "MidiList");
    EXPECT_EQ(form.windowType(), Qt::Tool); // no task bar entry
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(form.geometry(), QRect(233, 87, 313, 168));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowIcon().isNull());
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(310, 165), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(300, 110), QColor(Qt::black)); // the list
    EXPECT_EQ(shot.pixelColor(form.chkAnime->geometry().bottomRight()), QColor(Qt::black));

    const std::vector<std::pair<QWidget*, QRect>> design{
        {form.chkAnime, {0, 128, 97, 17}},   {form.hscSpeed, {0, 146, 121, 15}},
        {form.lstName, {0, 0, 313, 124}},    {form.Command1, {200, 128, 41, 17}},
        {form.Command2, {200, 144, 41, 17}}, {form.cmdLoad, {136, 128, 41, 17}},
        {form.cmdSave, {136, 144, 41, 17}},  {form.Command3, {256, 128, 41, 17}}};
    for (const auto& [control, rect] : design) {
        EXPECT_EQ(control->geometry(), rect) << control->metaObject()->className();
        EXPECT_FALSE(control->testAttribute(Qt::WA_SetFont)); // the system's font
    }
    EXPECT_EQ(form.chkAnime->text(), "アニメーション");
    EXPECT_EQ(form.Command1->text(), "追加");
    EXPECT_EQ(form.Command2->text(), "削除");
    EXPECT_EQ(form.cmdLoad->text(), "読込");
    EXPECT_EQ(form.cmdSave->text(), "保存");
    EXPECT_EQ(form.Command3->text(), "About");
    EXPECT_EQ(form.chkAnime->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(form.lstName->palette().color(QPalette::Base), QColor(Qt::black));
    EXPECT_EQ(form.lstName->palette().color(QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(form.Command1->palette().color(QPalette::Button),
              QApplication::palette(form.Command1).color(QPalette::Button));

    EXPECT_EQ(form.lstName->ListCount(), 0);
    EXPECT_EQ(form.lstName->ListIndex(), -1);
    EXPECT_EQ(form.chkAnimeValue(), 1);
    QScrollBar* bar = form.hscSpeed;
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(std::make_tuple(bar->minimum(), bar->maximum(), bar->singleStep(), bar->pageStep(),
                              bar->value()),
              std::make_tuple(1, 1000, 1, 10, 500));
}

TEST_F(Form2Test, TheCheckBoxHasTheFocusAndTabFollowsTheDesignedOrder) {
    Form2& form = playlist();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QStringList order;
    for (int i = 0; i < 8; ++i) {
        QWidget* focused = QApplication::focusWidget();
        order << (focused == form.lstName    ? QStringLiteral("lstName")
                  : focused == form.hscSpeed ? QStringLiteral("hscSpeed")
                  : focused                  ? focused->property("text").toString()
                                             : QString());
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    EXPECT_EQ(order, QStringList({"アニメーション", "hscSpeed", "lstName", "追加", "削除", "読込",
                                  "保存", "About"}));
}

TEST_F(Form2Test, AddPutsTheCurrentFileInItsPlaceIgnoringCase) {
    click(playlist().Command1); // before any file: one empty entry
    EXPECT_EQ(entries(playlist()), QStringList({""}));
    playlist().lstName->Clear();
    add("B.mid");
    add("a.mid");
    add("C.mid");
    EXPECT_EQ(entries(playlist()), QStringList({"a.mid", "B.mid", "C.mid"}));
    add("b.MID");
    add("a.mid");
    EXPECT_EQ(entries(playlist()), QStringList({"a.mid", "a.mid", "B.mid", "b.MID", "C.mid"}));
    EXPECT_EQ(playlist().lstName->model()->index(3, 0).data().toString(), "b.MID");
}

TEST_F(Form2Test, AddToAFullListSaysSoAndChangesNothing) {
    QStringList full;
    for (int i = 0; i < SortedList::MaxEntries; ++i)
        full << QStringLiteral("/m/%1.mid").arg(i);
    playlist().lstName->AddItems(full);
    add("/m/one-more.mid");
    EXPECT_EQ(playlist().lstName->ListCount(), SortedList::MaxEntries);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("いっぱい"));
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_TRUE(forms::Form2().isLoaded());
}

TEST_F(Form2Test, DeleteRemovesTheSelectedEntryAndNothingWhenNoneIsSelected) {
    add("a.mid");
    add("b.mid");
    add("c.mid");
    click(playlist().Command2);
    EXPECT_EQ(playlist().lstName->ListCount(), 3);

    playlist().lstName->setListIndex(1);
    click(playlist().Command2);
    EXPECT_EQ(entries(playlist()), QStringList({"a.mid", "c.mid"}));
    // The entry that moved up was not chosen: a second press deletes nothing.
    EXPECT_EQ(playlist().lstName->ListIndex(), -1);
    click(playlist().Command2);
    EXPECT_EQ(playlist().lstName->ListCount(), 2);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(Form2Test, DoubleClickPlaysTheEntryEvenAnEmptyOne) {
    add("/music/x.mid");
    Module1::strMidiFile = "/music/current.mid";
    add("");
    doubleClickRow(playlist().lstName, 0);
    EXPECT_EQ(Module1::strMidiFile, "");
    EXPECT_EQ(RecordingSequencer::log(), QStringList({"stop", "close", "open ", "play"}));
    EXPECT_EQ(player().windowTitle(), "");

    RecordingSequencer::log().clear();
    doubleClickRow(playlist().lstName, 1);
    EXPECT_EQ(Module1::strMidiFile, "/music/x.mid");
    EXPECT_TRUE(RecordingSequencer::log().contains("open /music/x.mid"));
    EXPECT_TRUE(player().Timer.isActive());
}

TEST_F(Form2Test, TheCheckBoxSwitchesOnlyTheMascotTimer) {
    QTimer& timer = player().Timer;
    click(playlist().chkAnime);
    EXPECT_EQ(Module1::bytAnime, 0);
    EXPECT_FALSE(timer.isActive());
    click(playlist().chkAnime); // nothing plays: the mascot moves all the same
    EXPECT_EQ(Module1::bytAnime, 1);
    EXPECT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 500);

    player().cmdPlay_Click();
    RecordingSequencer::log().clear();
    click(playlist().chkAnime); // during playback: the music goes on
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(Module1::bytAnime, 0);
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());

    click(playlist().chkAnime);
    playlist().setChkAnimeValue(2); // grayed: stored, the timer left alone
    EXPECT_EQ(Module1::bytAnime, 2);
    EXPECT_TRUE(timer.isActive());
}

TEST_F(Form2Test, TheBarKeepsItsBoundsAndSetsTheIntervalAtOnce) {
    QScrollBar* bar = playlist().hscSpeed;
    click(playlist().chkAnime);
    click(playlist().chkAnime);
    ASSERT_TRUE(player().Timer.isActive());

    bar->setValue(0);
    EXPECT_EQ(Module1::intSpeed, 1);
    EXPECT_EQ(player().Timer.interval(), 1);
    bar->setValue(5000);
    EXPECT_EQ(Module1::intSpeed, 1000);
    EXPECT_EQ(player().Timer.interval(), 1000);
    EXPECT_TRUE(player().Timer.isActive());
}

TEST_F(Form2Test, TheBarStepsByOneAndTenAndReportsADragOnlyOnRelease) {
    QScrollBar* bar = playlist().hscSpeed;
    QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(Module1::intSpeed, 501);
    QTest::mouseClick(bar, Qt::LeftButton, {}, barPart(bar, QStyle::SC_ScrollBarSubPage).center());
    EXPECT_EQ(Module1::intSpeed, 491);
    EXPECT_EQ(player().Timer.interval(), 491);

    const QPoint thumb = barPart(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, thumb + QPoint(30, 0));
    EXPECT_NE(bar->sliderPosition(), 491);
    EXPECT_EQ(Module1::intSpeed, 491);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(30, 0));
    EXPECT_GT(Module1::intSpeed, 491);
    EXPECT_EQ(Module1::intSpeed, bar->value());
    EXPECT_EQ(player().Timer.interval(), bar->value());
}

TEST_F(Form2Test, AReopenedWindowStartsAfreshWhileTheSharedStateStays) {
    add("a.mid");
    playlist().hscSpeed->setValue(800);
    click(playlist().chkAnime);
    playlist().close();
    flushDeletes();
    EXPECT_FALSE(forms::Form2().isLoaded());
    EXPECT_EQ(programEnds, 0);

    forms::Form2().show();
    EXPECT_EQ(playlist().lstName->ListCount(), 0);
    EXPECT_EQ(playlist().windowTitle(), "MidiList");
    EXPECT_EQ(playlist().chkAnimeValue(), 1);
    EXPECT_EQ(playlist().hscSpeed->value(), 500);
    EXPECT_EQ(Module1::intSpeed, 800);
    EXPECT_EQ(Module1::bytAnime, 0);
    EXPECT_FALSE(player().Timer.isActive());
    EXPECT_EQ(player().Timer.interval(), 800);
}

TEST_F(Form2Test, AboutIsModalWhileTheMascotKeepsMoving) {
    playlist().hscSpeed->setValue(5);
    click(playlist().chkAnime);
    click(playlist().chkAnime);
    int ticks = 0;
    QObject::connect(&player().Timer, &QTimer::timeout, [&] { ++ticks; });

    bool opened = false;
    int ticksWhileOpen = 0;
    QTimer::singleShot(0, [&] {
        opened = forms::frmAbout().isLoaded() && forms::frmAbout()->isVisible() &&
                 forms::frmAbout()->isModal();
        clickThroughWindow(playlist().Command1);
        clickThroughWindow(player().cmdPlay);
        QTest::qWait(200);
        ticksWhileOpen = ticks;
        forms::frmAbout()->close();
    });
    click(playlist().Command3);
    EXPECT_TRUE(opened);
    EXPECT_GT(ticksWhileOpen, 5);
    EXPECT_EQ(playlist().lstName->ListCount(), 0);
    EXPECT_TRUE(RecordingSequencer::log().isEmpty());
    EXPECT_FALSE(forms::frmAbout().isLoaded());

    clickThroughWindow(playlist().Command1);
    EXPECT_EQ(playlist().lstName->ListCount(), 1);
    clickThroughWindow(player().cmdPlay);
    EXPECT_TRUE(RecordingSequencer::log().contains("play"));
}

} // namespace
