#include "core/ErrorModel.h"
#include "core/Errors.h"
#include "core/WindowInstance.h"
#include "support/AppFixture.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

QStringList events;

class ProbeForm : public FormBase {
public:
    ProbeForm() { events << "built"; }
    ~ProbeForm() override { events << "destroyed"; }
    void Form_Load() override { events << "Form_Load"; }
    void Form_Unload() override { events << "Form_Unload"; }
    int value = 0; // stands in for a control's stored initial value
};

class FormInstanceTest : public AppFixture {
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

    FormInstance<ProbeForm> probe;
};

TEST_F(FormInstanceTest, LoadsOnFirstUseAndRunsFormLoadOnce) {
    EXPECT_FALSE(probe.isLoaded());
    probe->value = 7;
    probe.show();
    probe.show();
    EXPECT_TRUE(probe->isVisible());
    EXPECT_EQ(events, QStringList({"built", "Form_Load"}));
}

TEST_F(FormInstanceTest, HideLoadsAWindowThatWasNotLoadedAndKeepsItInvisible) {
    probe.hide();
    EXPECT_TRUE(probe.isLoaded());
    EXPECT_FALSE(probe->isVisible());
    EXPECT_EQ(events, QStringList({"built", "Form_Load"}));
}

TEST_F(FormInstanceTest, UnloadRunsFormUnloadAndTheNextUseStartsAfresh) {
    probe->value = 7;
    probe.unload();
    flushDeletes();
    EXPECT_FALSE(probe.isLoaded());
    probe.unload(); // nothing to a window not loaded
    EXPECT_EQ(probe->value, 0);
    EXPECT_EQ(events, QStringList({"built", "Form_Load", "Form_Unload", "destroyed", "built",
                                   "Form_Load"}));
}

TEST_F(FormInstanceTest, ClosingByTheUserUnloadsAndTheLastUnloadEndsTheProgram) {
    probe.show();
    probe->close();
    flushDeletes();
    EXPECT_FALSE(probe.isLoaded());
    EXPECT_EQ(events.mid(2), QStringList({"Form_Unload", "destroyed"}));
    EXPECT_EQ(programEnds, 1);
}

TEST_F(FormInstanceTest, ShowModalReturnsOnlyWhenTheWindowIsClosed) {
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

TEST_F(FormInstanceTest, AnEventFailureIsReportedAndEndsTheProgramButATrapIsSilent) {
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

TEST_F(FormInstanceTest, AFailureInACalledHandlerGoesBackToItsCaller) {
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

} // namespace
