#include "core/ProgramIcon.h"

namespace ProgramIcon {

QIcon icon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icon/pelora.ico"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icon/desktop/pelora-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icon/desktop/pelora-64.png"), QSize(64, 64));
    return icon;
}

} // namespace ProgramIcon
