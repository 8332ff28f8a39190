#include "core/DesignFonts.h"

#include <QStringList>

namespace DesignFonts {
namespace {

// Upright and of normal weight, set rather than left to the font a control
// would otherwise have: a desktop's font may be bold or italic.
QFont fontOf(const QStringList& faces, qreal points) {
    QFont font;
    font.setFamilies(faces);
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    return font;
}

} // namespace

QFont systemFont() {
    // The proportional face first: the animation check box caption fits beside its box
    // only in that one.
    return fontOf({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}, 9);
}

QFont gothic(qreal points) {
    return fontOf(
        {QStringLiteral("ＦＡ ぽぽる"), QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")},
        points);
}

QFont mincho(qreal points) {
    return fontOf(
        {QStringLiteral("ＪＳ明朝"), QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")},
        points);
}

} // namespace DesignFonts
