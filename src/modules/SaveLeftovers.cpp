#include "modules/SaveLeftovers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// The last line of a whole note.
const QByteArray kEnd = QByteArrayLiteral("end\n");

QString noteOf(const QString &fileName)
{
    return fileName + QStringLiteral(".saving-note");
}

// The names QSaveFile gives the temporary files of file, present in its folder.
QStringList temporaryNames(const QFileInfo &file)
{
    const QRegularExpression shape(
        QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(QRegularExpression::escape(file.fileName())));
    return file.dir().entryList(QDir::Files | QDir::Hidden | QDir::System).filter(shape);
}

} // namespace

void SaveLeftovers::remove(const QString &fileName)
{
    QFile note(noteOf(fileName));
    if (!note.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = note.readAll();
    // A note cut short was being written when its save was killed, before that save made
    // any file.
    if (content.endsWith(kEnd)) {
        const QStringList before = QString::fromUtf8(content.chopped(kEnd.size() + 1)).split(u'/');
        const QFileInfo file(fileName);
        for (const QString &name : temporaryNames(file)) {
            if (!before.contains(name))
                QFile::remove(file.dir().filePath(name));
        }
    }
    note.remove();
}

SaveLeftovers::SaveLeftovers(const QString &fileName) : m_note(noteOf(fileName))
{
    remove(fileName);
    // "/" cannot occur in a file name. Without a note, nothing is ever removed.
    QFile note(m_note);
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write(temporaryNames(QFileInfo(fileName)).join(u'/').toUtf8() + '\n' + kEnd);
}

SaveLeftovers::~SaveLeftovers()
{
    QFile::remove(m_note);
}
