// The settings file under fuzzing: arbitrary bytes to start from, then arbitrary writes and
// reads. Checked on every input, beside the sanitizers: a written key reads back as written,
// after the mends; every other key reads as it reads in the untouched file; the file grows
// by no more than the writes explain; a save that would make or replace a file over the limit
// is refused and leaves the file as it was; and no temporary file stays behind.
#include "ExpectedRead.h"
#include "FuzzInput.h"
#include "FuzzModel.h"
#include "ProbeNames.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "modules/SettingsFile.h"
#include "support/Module1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringConverter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using FuzzInput::Step;
using FuzzInput::Write;

namespace {

constexpr int kBufferSize = 1024;

struct Files
{
    QTemporaryDir dir;
    QString working = dir.filePath(QStringLiteral("KORV.ini"));
    QString original = dir.filePath(QStringLiteral("original.ini")); // never written to
};

Files &files()
{
    static Files files;
    return files;
}

const ExpectedRead &expected()
{
    static const ExpectedRead expected;
    return expected;
}

// A text with every character outside printable ASCII shown by its code.
QString shown(const QString &text)
{
    QString out;
    for (const QChar c : text)
        out += (c.unicode() >= 0x20 && c.unicode() < 0x7F)
                   ? QString(c)
                   : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
    return out.left(600);
}

void check(bool holds, const QString &what)
{
    if (holds)
        return;
    std::fprintf(stderr, "Property broken: %s\n", qPrintable(what));
    std::abort();
}

qint64 fileSize()
{
    return QFileInfo(files().working).size();
}

// Reads a key of the working file, one read on its own or through a session that reads the
// file once for many keys, and checks it against the model.
void checkRead(FuzzModel &model, const QString &section, const QString &key, int size,
               const char *when, ProfileSession *session = nullptr)
{
    const QString actual =
        session ? session->read(section, key, qMax(size - 1, 0)).value_or(FuzzModel::kMissing)
                : FuzzModel::read(section, key, size, files().working);
    const QString wanted = model.expectedRead(section, key, size);
    check(actual == wanted, QStringLiteral("%1 [%2] %3 (buffer %4): read \"%5\", expected \"%6\"")
                                .arg(when, shown(section), shown(key))
                                .arg(size)
                                .arg(shown(actual), shown(wanted)));
}

// The most a write can add to a file in encoding: its section's header, its line, and a
// line break for a last line that had none.
qsizetype growthBound(const Write &write, QStringConverter::Encoding encoding)
{
    const QString added =
        QStringLiteral("[%1]\r\n%2=%3\r\n\r\n").arg(write.section, write.key, write.value);
    switch (encoding) {
    case QStringConverter::Utf16LE:
        return added.size() * 2;
    case QStringConverter::Utf8:
        return added.toUtf8().size();
    default:
        return expected().cp932Length(expected().stored(added));
    }
}

QStringConverter::Encoding encodingNow()
{
    QFile file(files().working);
    const QByteArray head = file.open(QIODevice::ReadOnly) ? file.read(4) : QByteArray();
    return QStringConverter::encodingForData(head).value_or(QStringConverter::System);
}

// One write on its own, or one of a session's writes, each read back before the session's
// commit; the commit's outcome.
FileStatus runWrite(FuzzModel &model, const Write &write, ProfileSession *session)
{
    ProfileSession own({files().working, files().working});
    ProfileSession &used = session ? *session : own;
    const FileStatus status = write.throughIniWrite
                                  ? IniWrite(used, write.section, write.key, write.value)
                                  : used.write(write.section, write.key, write.value);
    check(status.ok(), QStringLiteral("write of [%1] %2 failed: %3")
                           .arg(shown(write.section), shown(write.key))
                           .arg(int(status.problem)));
    model.wrote(write);
    if (!session)
        return own.commit();
    // A file over the limit is not read: nothing in it is found, written or not.
    const QString actual =
        session->read(write.section, write.key, kBufferSize - 1).value_or(FuzzModel::kMissing);
    const QString wanted = fileSize() > SettingsFile::kMaxBytes
                               ? FuzzModel::kMissing
                               : model.expectedRead(write.section, write.key, kBufferSize);
    check(actual == wanted,
          QStringLiteral("in a session [%1] %2: read \"%3\", expected \"%4\"")
              .arg(shown(write.section), shown(write.key), shown(actual), shown(wanted)));
    return {files().working};
}

// Several writes in one session, each read back before the session is committed.
FileStatus runSession(FuzzModel &model, const std::vector<Write> &writes)
{
    ProfileSession session({files().working, files().working});
    for (const Write &write : writes)
        runWrite(model, write, &session);
    return session.commit();
}

QByteArray workingBytes()
{
    QFile file(files().working);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void checkAfterWrites(FuzzModel &model, const Step &step, const std::vector<ProbeName> &probes)
{
    for (const Write &write : step.writes)
        checkRead(model, write.section, write.key, kBufferSize, "after the write");
    ProfileSession reader({{}, files().working}); // reads the file once for all the probes
    for (const ProbeName &probe : probes)
        checkRead(model, probe.section, probe.key, kBufferSize, "another key", &reader);
    const QStringList left =
        QDir(files().dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    check(left.size() <= 2 && left.contains(QStringLiteral("KORV.ini")),
          QStringLiteral("files left in the folder: %1").arg(left.join(u' ')));
}

void runSteps(const FuzzInput::Input &input)
{
    std::vector<ProbeName> probes = probeNames(input.file);
    for (const Step &step : input.steps) {
        for (const Write &write : step.writes)
            probes.push_back({write.section, write.key});
        if (step.isRead())
            probes.push_back({step.read.section, step.read.key});
    }
    FuzzModel model(expected(), files().original);
    for (const Step &step : input.steps) {
        if (step.isRead()) {
            checkRead(model, step.read.section, step.read.key, step.read.size, "a read");
            continue;
        }
        const qint64 before = fileSize();
        const QStringConverter::Encoding encoding = encodingNow();
        qsizetype bound = 0;
        for (const Write &write : step.writes)
            bound += growthBound(write, encoding);
        const FuzzModel modelBefore = model;
        const QByteArray bytesBefore = workingBytes();
        const FileStatus status = step.writes.size() == 1
                                      ? runWrite(model, step.writes.front(), nullptr)
                                      : runSession(model, step.writes);
        if (status.problem == FileProblem::FileTooLarge) {
            check(workingBytes() == bytesBefore,
                  QStringLiteral("a save refused as too large changed the file"));
            model = modelBefore;
        } else {
            check(status.ok(), QStringLiteral("commit failed: %1").arg(int(status.problem)));
        }
        checkAfterWrites(model, step, probes);
        check(fileSize() <= before + bound,
              QStringLiteral("the file grew from %1 to %2 bytes; the writes explain %3")
                  .arg(before)
                  .arg(fileSize())
                  .arg(bound));
    }
}

// The file starts as the input's bytes; an input without file bytes starts without a file.
void startFiles(const QByteArray &bytes)
{
    for (const QString &path : {files().working, files().original}) {
        QFile::remove(path);
        QFile file(path);
        if (!bytes.isEmpty() &&
            (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()))
            check(false, QStringLiteral("cannot write %1").arg(path));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = files().dir.isValid();
    check(ready, QStringLiteral("no temporary folder"));
    const FuzzInput::Input input =
        FuzzInput::decode(reinterpret_cast<const char *>(data), qsizetype(size));
    startFiles(input.file);
    runSteps(input);
    return 0;
}
