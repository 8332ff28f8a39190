#include "about/frmAbout.h"

frmAbout::frmAbout() {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setClientTwips(3585, 4155, 3600, 1845);
}
