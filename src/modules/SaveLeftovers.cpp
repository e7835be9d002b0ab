#include "modules/SaveLeftovers.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// The last line of a whole note.
const QByteArray kEnd = QByteArrayLiteral("end\n");

QString noteOf(const QString &fileName)
{
    return fileName + QStringLiteral(".saving-note");
}

// The names QSaveFile gives the temporary files of file, present in its folder: the file's
// name, a dot and six ASCII letters.
QStringList temporaryNames(const QFileInfo &file)
{
    const QString start = file.fileName() + u'.';
    auto isTemporary = [&start](const QString &name) {
        return name.size() == start.size() + 6 && name.startsWith(start) &&
               std::all_of(name.end() - 6, name.end(), [](QChar c) {
                   return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
               });
    };
    QStringList names = file.dir().entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeIf([&](const QString &name) { return !isTemporary(name); });
    return names;
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
