#include "core/ErrorModel.h"
#include "core/Errors.h"
#include "core/WindowInstance.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

QStringList events;

class ProbeWindow : public WindowBase {
public:
    ProbeWindow() { events << "built"; }
    ~ProbeWindow() override { events << "destroyed"; }
    void loaded() override { events << "loaded"; }
    void unloading() override { events << "unloading"; }
    int value = 0; // stands in for a control's stored initial value
};

class WindowInstanceTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        events.clear();
    }
    void TearDown() override {
        probe.destroy();
        AppFixture::TearDown();
    }
    void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    LoadedWindows all{[this] { ++programEnds; }};
    WindowInstance<ProbeWindow> probe{all, focus, [] { return new ProbeWindow(); }};
};

TEST_F(WindowInstanceTest, LoadsOnFirstUseAndRunsItsLoadHandlerOnce) {
    EXPECT_FALSE(probe.isLoaded());
    probe->value = 7;
    probe.show();
    probe.show();
    EXPECT_TRUE(probe->isVisible());
    EXPECT_EQ(events, QStringList({"built", "loaded"}));
}

TEST_F(WindowInstanceTest, HideLoadsAWindowThatWasNotLoadedAndKeepsItInvisible) {
    probe.hide();
    EXPECT_TRUE(probe.isLoaded());
    EXPECT_FALSE(probe->isVisible());
    EXPECT_EQ(events, QStringList({"built", "loaded"}));
}

TEST_F(WindowInstanceTest, UnloadRunsItsUnloadHandlerAndTheNextUseStartsAfresh) {
    probe->value = 7;
    probe.unload();
    flushDeletes();
    EXPECT_FALSE(probe.isLoaded());
    probe.unload(); // nothing to a window not loaded
    EXPECT_EQ(probe->value, 0);
    EXPECT_EQ(events,
              QStringList({"built", "loaded", "unloading", "destroyed", "built", "loaded"}));
}

TEST_F(WindowInstanceTest, ClosingByTheUserUnloadsAndTheLastUnloadEndsTheProgram) {
    probe.show();
    probe->close();
    flushDeletes();
    EXPECT_FALSE(probe.isLoaded());
    EXPECT_EQ(events.mid(2), QStringList({"unloading", "destroyed"}));
    EXPECT_EQ(programEnds, 1);
}

TEST_F(WindowInstanceTest, ShowModalReturnsOnlyWhenTheWindowIsClosed) {
    bool closedFromInside = false;
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(probe->isVisible());
        EXPECT_EQ(probe->windowModality(), Qt::ApplicationModal);
        closedFromInside = true;
        probe->close();
    });
    probe.showModal();
    EXPECT_TRUE(closedFromInside);
    EXPECT_FALSE(probe.isLoaded());
}

TEST_F(WindowInstanceTest, AnEventFailureIsReportedAndEndsTheProgramButATrapIsSilent) {
    ErrorModel::trap([] { throw PeloraError("swallowed"); });
    EXPECT_TRUE(fatalReports.isEmpty());
    EXPECT_FALSE(ErrorModel::ended());

    bool afterFailure = false;
    ErrorModel::event([&] {
        throw PeloraError("A0.gif: no such file");
        afterFailure = true;
    });
    EXPECT_FALSE(afterFailure);
    EXPECT_EQ(fatalReports, QStringList({"A0.gif: no such file"}));
    EXPECT_TRUE(ErrorModel::ended());
    EXPECT_NE(ErrorModel::exitStatus(), 0);

    bool ranAfterEnd = false;
    ErrorModel::event([&] { ranAfterEnd = true; });
    EXPECT_FALSE(ranAfterEnd);
}

TEST_F(WindowInstanceTest, AFailureInACalledHandlerGoesBackToItsCaller) {
    auto inner = [] { throw PeloraError("inner"); };
    bool callerSawIt = false;
    ErrorModel::event([&] {
        try {
            inner();
        } catch (const PeloraError&) {
            callerSawIt = true;
        }
    });
    EXPECT_TRUE(callerSawIt);
    EXPECT_TRUE(fatalReports.isEmpty());
}

TEST_F(WindowInstanceTest, AnUntrappedFailureShowsAMessageBoxThenEndsTheEventLoopWithStatusOne) {
    ErrorModel::setReporter({});
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(10);
    QTimer::singleShot(
        0, [] { ErrorModel::event([] { throw PeloraError("A0.gif: no such file"); }); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(99); }); // a box nobody could close
    EXPECT_EQ(QApplication::exec(), 1);
    EXPECT_TRUE(shown.contains("A0.gif: no such file")) << shown.toStdString();
}

} // namespace
