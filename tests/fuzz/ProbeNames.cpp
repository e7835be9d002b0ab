#include "ProbeNames.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

constexpr std::size_t kMaxProbes = 24;

QString text(const QByteArray &file)
{
    if (file.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(file.sliced(3));
    if (file.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(file.sliced(2));
    return QStringDecoder("windows-31j")(file);
}

} // namespace

std::vector<ProbeName> probeNames(const QByteArray &file)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    std::vector<ProbeName> found;
    QString section;
    for (const QString &line : text(file).split(lineBreak, Qt::SkipEmptyParts)) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.contains(u']')) {
            section = trimmed.mid(1, trimmed.indexOf(u']') - 1);
            continue;
        }
        const QString key = line.section(u'=', 0, 0);
        if (!key.trimmed().isEmpty())
            found.push_back({section, key});
        if (found.size() == kMaxProbes)
            break;
    }
    return found;
}
