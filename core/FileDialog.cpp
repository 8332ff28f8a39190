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

QString FileDialog::saveSuffix(const QString& filter) {
    const QStringList fields = filter.split(QLatin1Char('|'));
    if (fields.size() < 2)
        return {};
    const QString first = fields[1].section(QLatin1Char(';'), 0, 0).trimmed();
    if (!first.startsWith(QLatin1String("*.")) || first.indexOf(QLatin1Char('*'), 1) >= 0)
        return {};
    return first.mid(2);
}

QString FileDialog::withSuffix(const QString& typed, const QString& suffix) {
    // As QFileDialog gives a name its default suffix: only a name without a dot.
    const QString name = typed.section(QLatin1Char('/'), -1);
    if (suffix.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('.')))
        return typed;
    return typed + QLatin1Char('.') + suffix;
}
