#include "modules/Module2.h"

#include "modules/Module1.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kReadBufferSize = 1024;

QString noPath()
{
    return {};
}

Module2::PathSource &outputHolder()
{
    static Module2::PathSource holder = noPath;
    return holder;
}

Module2::PathSource &driveHolder()
{
    static Module2::PathSource holder = noPath;
    return holder;
}

// Discs read on case-sensitive systems often show the name as "korv.ini" or "KORV.INI":
// when "KORV.ini" itself is not there, the file whose name matches it in any case is read.
QString sourceFileIn(const QString &designation)
{
    const QString exact = designation + QStringLiteral("KORV.ini");
    if (designation.isEmpty() || QFileInfo::exists(exact))
        return exact;
    const QStringList matches =
        QDir(designation).entryList({QStringLiteral("KORV.ini")}, QDir::Files, QDir::Name);
    return matches.isEmpty() ? exact : designation + matches.first();
}

} // namespace

WriteStatus IniWrite(const QString &section, const QString &key, const QString &value)
{
    return Module1::WritePrivateProfileString(section, key, value, Module2::outputFileName());
}

QString IniRead(const QString &section, const QString &key)
{
    const QString value = Module1::GetPrivateProfileString(section, key, QString(), kReadBufferSize,
                                                           Module2::sourceFileName());
    const qsizetype nul = value.indexOf(QChar(0));
    return nul < 0 ? value : value.left(nul);
}

namespace Module2 {

void setOutputPathHolder(PathSource holder)
{
    outputHolder() = holder ? std::move(holder) : PathSource(noPath);
}

void setDriveDesignation(PathSource designation)
{
    driveHolder() = designation ? std::move(designation) : PathSource(noPath);
}

QString outputFileName()
{
    return outputHolder()();
}

QString sourceFileName()
{
    // Within a batch the folder is looked at once: the batch reads the file once anyway.
    return Module1::rememberedInBatch(sourceFileIn, driveHolder()());
}

} // namespace Module2
