#pragma once

#include <QStringList>
#include <gtest/gtest.h>

// Every window test starts from a program that has not begun: shared state
// at its initial values, no window loaded, the recording sequencer and the
// scripted file dialog in place, failures and messages recorded.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Untrapped failures reported since SetUp (the program would have ended).
    QStringList fatalReports;
    // Message boxes shown since SetUp.
    QStringList messages;
    // Times the program ended because no window was loaded any more.
    int programEnds = 0;
};
