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

} // namespace
