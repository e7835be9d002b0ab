#include "modules/SaveLeftovers.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

// The last line of a whole note: a note that a kill cut short proves nothing.
const QByteArray kEnd = QByteArrayLiteral("end\n");

// The names QSaveFile gives the temporary files of file, present in its folder.
QStringList temporaryNames(const QFileInfo &file)
{
    const QRegularExpression shape(
        QStringLiteral("^%1\\.[A-Za-z]{6}$").arg(QRegularExpression::escape(file.fileName())));
    return file.dir().entryList(QDir::Files | QDir::Hidden | QDir::System).filter(shape);
}

} // namespace

SaveLeftovers::SaveLeftovers(const QString &fileName)
    : m_file(fileName), m_note(fileName + QStringLiteral(".saving-note"))
{
    removeLeftovers();
    // "/" cannot occur in a file name. Without a note, nothing is ever removed.
    QFile note(m_note);
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write(temporaryNames(m_file).join(u'/').toUtf8() + '\n' + kEnd);
}

SaveLeftovers::~SaveLeftovers()
{
    QFile::remove(m_note);
}

void SaveLeftovers::removeLeftovers() const
{
    QFile note(m_note);
    if (!note.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = note.readAll();
    if (!content.endsWith(kEnd))
        return;
    const QStringList before = QString::fromUtf8(content.chopped(kEnd.size() + 1)).split(u'/');
    for (const QString &name : temporaryNames(m_file)) {
        if (!before.contains(name))
            QFile::remove(m_file.dir().filePath(name));
    }
}
