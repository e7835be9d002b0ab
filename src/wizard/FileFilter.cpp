#include "wizard/FileFilter.h"

namespace {

// "*.EXE;*.COM" as this platform's patterns; empty ones left out.
QStringList localPatterns(const QString &patterns)
{
    QStringList local;
    for (const QString &typed : patterns.split(QLatin1Char(';'))) {
        const QString pattern = typed.trimmed();
        if (!pattern.isEmpty())
            local.append(FileFilters::localPattern(pattern));
    }
    return local;
}

} // namespace

QStringList FileFilters::nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = localPatterns(parts[i + 1]);
        if (!patterns.isEmpty())
            names.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns.join(QLatin1Char(' '))));
    }
    return names;
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
