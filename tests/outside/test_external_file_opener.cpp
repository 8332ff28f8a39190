#include "core/AfterModalWindows.h"
#include "outside/ExternalFileOpener.h"
#include "playlist/SortedList.h"
#include "support/AppFixture.h"

#include <QTest>

#include <memory>

namespace {

class ExternalFileOpenerTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        windows().start();
        opener = std::make_unique<ExternalFileOpener>(windows().player(), windows().playlist(),
                                                      afterModal, userMessages);
    }
    void TearDown() override {
        opener.reset();
        AppFixture::TearDown();
    }

    // The message the files named lead to.
    QString toldOf(const QStringList& paths, qsizetype count = 0) {
        messages.clear();
        opener->open(paths, ExternalFileOpener::WayIn::LaterStart, count);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !messages.isEmpty(); }, 20'000));
        return messages.value(0);
    }

    AfterModalWindows afterModal{userMessages};
    std::unique_ptr<ExternalFileOpener> opener;
};

// As many files as a list holds are opened (here: each told as missing, in
// one message that counts them all); one more, or a handover that named
// more than it kept, is refused whole.
TEST_F(ExternalFileOpenerTest, AsManyFilesAsAListHoldsAreOpenedAndOneMoreIsRefused) {
    QStringList paths;
    for (int i = 0; i < SortedList::MaxEntries; ++i)
        paths << QStringLiteral("/no/such/folder/%1.mid").arg(i);
    const QString all = toldOf(paths);
    EXPECT_TRUE(all.endsWith(QStringLiteral("…ほか %1 件").arg(SortedList::MaxEntries - 5)))
        << all.right(80).toStdString();

    paths << QStringLiteral("/no/such/folder/one-more.mid");
    EXPECT_TRUE(toldOf(paths).contains(QString::number(SortedList::MaxEntries + 1)));
    EXPECT_TRUE(toldOf(paths.first(3), 40'000).contains(QStringLiteral("40000")));
    EXPECT_TRUE(fatalReports.isEmpty());
}

} // namespace
