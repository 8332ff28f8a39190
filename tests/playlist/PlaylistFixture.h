#pragma once

#include "app/Windows.h"
#include "player/PlayerWindow.h"
#include "playlist/PlaylistWindow.h"
#include "playlist/SortedListBox.h"
#include "support/AppFixture.h"
#include "support/RecordingSequencer.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

// The program after its start: the player and the playlist window up, the
// sequencer's log forgotten.
class PlaylistFixture : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        windows().start();
        RecordingSequencer::log().clear();
    }

    static PlaylistWindow& playlist() { return windows().playlist().load(); }
    static PlayerWindow& player() { return windows().player().load(); }

    // The playlist window's controls, found by their names.
    static SortedListBox* list() { return control<SortedListBox>(playlist(), "list"); }
    static QPushButton* button(const char* name) { return control<QPushButton>(playlist(), name); }
    static QCheckBox* animationBox() { return control<QCheckBox>(playlist(), "animationBox"); }
    static QScrollBar* speedBar() { return control<QScrollBar>(playlist(), "speedBar"); }
    static QTimer* animationTimer() { return control<QTimer>(player(), "animationTimer"); }

    static void click(QWidget* control) { QTest::mouseClick(control, Qt::LeftButton); }
    static void click(const char* buttonName) { click(button(buttonName)); }

    // "追加" with the given file as the current one.
    static void add(const QString& path) {
        state().currentFile = path;
        click("addButton");
    }

    // What the list shows, top to bottom.
    static QStringList shownEntries() {
        QStringList texts;
        const QAbstractItemModel* rows = list()->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            texts << rows->index(row, 0).data().toString();
        return texts;
    }

    // A click on an entry, as the user chooses one.
    static void clickEntry(int row) {
        QCoreApplication::processEvents(); // the view lays out its rows
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, entryCentre(row));
    }

    static void doubleClickEntry(int row) {
        // As the window system delivers one: press, release, double-click, release.
        clickEntry(row);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, entryCentre(row));
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, entryCentre(row));
    }

    static void flushDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    static QPoint entryCentre(int row) {
        return list()->visualRect(list()->model()->index(row, 0)).center();
    }
};
