#include "core/FileDialog.h"

QStringList FileDialog::toNameFilters(const QString& filter) {
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns = fields[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            // "*.*" means every file, with or without an extension.
            if (pattern.trimmed() == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        result << QStringLiteral("%1 (%2)").arg(fields[i], patterns.join(QLatin1Char(' ')));
    }
    return result;
}
