#include "core/FileDialog.h"

#include <gtest/gtest.h>

namespace {

TEST(FileDialogFilters, ConvertsBothFiltersKeepingTheirDescriptions) {
    EXPECT_EQ(FileDialog::toNameFilters(
                  QStringLiteral("MIDI(*.mid;*.rmi)|*.mid;*.rmi|全てのファイル(*.*)|*.*")),
              QStringList({QStringLiteral("MIDI(*.mid;*.rmi) (*.mid *.rmi)"),
                           QStringLiteral("全てのファイル(*.*) (*)")}));
    EXPECT_EQ(
        FileDialog::toNameFilters(QStringLiteral("演奏リスト(*.lst)|*.lst|全てのファイル|*.*")),
        QStringList(
            {QStringLiteral("演奏リスト(*.lst) (*.lst)"), QStringLiteral("全てのファイル (*)")}));
}

// A list saved without its suffix would be hidden from the load dialog and
// taken for a MIDI file on the command line.
TEST(FileDialogFilters, ANameSavedWithoutSuffixGetsTheFiltersFirst) {
    const QString suffix =
        FileDialog::saveSuffix(QStringLiteral("演奏リスト(*.lst)|*.lst|全て|*.*"));
    EXPECT_EQ(suffix, QStringLiteral("lst"));
    EXPECT_EQ(FileDialog::withSuffix(QStringLiteral("/home/花子/私の リスト"), suffix),
              QStringLiteral("/home/花子/私の リスト.lst"));
    for (const char* kept : {"/home/a/list.txt", "/home/a/list.LST", "/home/a/.lists"})
        EXPECT_EQ(FileDialog::withSuffix(QString::fromUtf8(kept), suffix), QString::fromUtf8(kept));
    EXPECT_EQ(FileDialog::withSuffix(QStringLiteral("/home/v1.2/list"), suffix),
              QStringLiteral("/home/v1.2/list.lst"));
    EXPECT_EQ(FileDialog::saveSuffix(QStringLiteral("全て|*.*")), QString());
}

} // namespace
