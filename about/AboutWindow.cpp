#include "about/AboutWindow.h"

#include "Version.h"
#include "core/DesignFonts.h"
#include "core/ProgramIcon.h"
#include "texts/Texts.h"

#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

namespace {

// A label that sizes itself to its text from its top left corner.
QLabel* label(QWidget* window, const QString& text, const QFont& font, int left, int top) {
    auto* control = new QLabel(window);
    control->setTextFormat(Qt::PlainText);
    control->setText(text);
    control->setFont(font);
    control->move(twips(left), twips(top));
    control->adjustSize();
    control->setAttribute(Qt::WA_TransparentForMouseEvents);
    return control;
}

} // namespace

AboutWindow::AboutWindow() {
    setWindowTitle(QStringLiteral("バージョン情報"));
    // A tool window: thin frame, small caption bar with a close box only, no
    // task bar entry.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // An explicitly empty icon, so that no application icon stands in for it.
    setWindowIcon(QIcon());
    setClientTwips(3585, 4155, 3600, 1845);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
    setAutoFillBackground(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramIcon::icon().pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->move(twips(240), twips(240));
    icon->adjustSize();
    icon->setAttribute(Qt::WA_TransparentForMouseEvents);
    icon->setAccessibleName(Texts::control(Texts::Control::ProgramIcon).name);

    label(this, QStringLiteral("Pelora"), DesignFonts::gothic(11.25), 1200, 240);
    label(this, QStringLiteral("Version " PELORA_VERSION_TEXT), DesignFonts::gothic(9), 1320, 600);
    // Short enough to stay inside the window in the fallback gothic face.
    label(this, QStringLiteral("© 2026 Pelora team"), DesignFonts::gothic(9), 1560, 840);

    // From (16, 72) up to, not including, (224, 72), one pixel high.
    auto* separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("separator"));
    separator->setGeometry(twips(240), twips(1080), twips(3360 - 240), 1);
    QPalette grey = separator->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    separator->setPalette(grey);
    separator->setAutoFillBackground(true);
    separator->setAttribute(Qt::WA_TransparentForMouseEvents);

    label(this, QStringLiteral("感想、バグ報告お待ちしています"), DesignFonts::gothic(9), 480,
          1200);
    QLabel* address =
        label(this, QStringLiteral("https://pelora.github.io/"), DesignFonts::mincho(9), 600, 1440);
    address->setAutoFillBackground(true);
}

void AboutWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        WindowBase::keyPressEvent(event);
}
