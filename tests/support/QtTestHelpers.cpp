#include "support/QtTestHelpers.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

QString captionOf(const QWidget* control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->text();
    return {};
}

// Where the control's style draws its caption, in the control's coordinates.
QRect captionRoom(const QWidget* control) {
    QStyleOptionButton option;
    option.initFrom(control);
    if (const auto* box = qobject_cast<const QCheckBox*>(control)) {
        option.text = box->text();
        return control->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, control);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        option.text = button->text();
        if (button->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        return control->style()->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    }
    return control->contentsRect();
}

} // namespace

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i == 0 ? "" : ", ");
        PrintTo(texts[i], out);
    }
    *out << '}';
}

bool holdsWhite(const QImage& shot, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(shot.pixel(x, y)) > 224)
                return true;
    return false;
}

QStringList clippedCaptions(const QWidget& window) {
    QStringList clipped;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const QString caption = captionOf(control);
        if (caption.isEmpty() || !control->isVisible())
            continue;
        const QFontMetrics metrics(control->font());
        const QRect room = captionRoom(control).intersected(control->rect());
        const QRect inWindow(control->mapTo(&window, QPoint()), control->size());
        if (metrics.horizontalAdvance(caption) > room.width() ||
            metrics.tightBoundingRect(caption).height() > room.height() ||
            !window.rect().contains(inWindow))
            clipped << caption;
    }
    return clipped;
}
