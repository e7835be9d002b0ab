#include "wizard/FileFilter.h"

QString FileFilter::nameFilter() const
{
    return QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
}

QList<FileFilter> FileFilters::parse(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FileFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &typed : parts[i + 1].split(QLatin1Char(';'))) {
            const QString pattern = typed.trimmed();
            if (!pattern.isEmpty())
                patterns.append(localPattern(pattern));
        }
        if (!patterns.isEmpty())
            filters.append({parts[i], patterns});
    }
    return filters;
}

QString FileFilters::localPattern(const QString &pattern)
{
    // There "*.*" also matches names without a dot, such as README.
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString local;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        local += lower == upper ? QString(c) : QStringLiteral("[%1%2]").arg(upper, lower);
    }
    return local;
}

QStringList FileFilters::nameFilters(const QString &filter)
{
    QStringList names;
    for (const FileFilter &entry : parse(filter))
        names.append(entry.nameFilter());
    return names;
}
