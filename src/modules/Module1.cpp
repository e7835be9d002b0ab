#include "modules/Module1.h"

#include "modules/ProfileFile.h"

#include <algorithm>
#include <map>

namespace {

using LookUp = QString (*)(const QString &);

// The files a batch has read or written, by resolved path, and the answers of the look-ups
// made in it; empty outside a batch.
struct BatchState
{
    int depth = 0;
    std::map<QString, ProfileFile::Loaded> files;
    std::map<std::pair<LookUp, QString>, QString> lookedUp;
};

thread_local BatchState batch;

// The loaded file for a call: the batch's copy inside a batch, else read afresh into spare.
ProfileFile::Loaded &loadedFile(const QString &path, ProfileFile::Loaded &spare)
{
    if (batch.depth == 0)
        return spare = ProfileFile::load(path);
    auto found = batch.files.find(path);
    if (found == batch.files.end())
        found = batch.files.emplace(path, ProfileFile::load(path)).first;
    return found->second;
}

// A value can never start a line, a key or a section of its own.
QString singleLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    value.remove(QChar(0));
    return value;
}

// Why a section or key name could not be written so that it reads back; empty when it can.
QString nameProblem(const QString &section, const QString &key)
{
    auto isBlank = [](const QString &name) {
        return std::all_of(name.begin(), name.end(),
                           [](QChar c) { return c == u' ' || c == u'\t'; });
    };
    auto breaksLine = [](const QString &name) {
        return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) ||
               name.contains(QChar(0));
    };
    if (isBlank(section) || isBlank(key))
        return QStringLiteral("セクション名とキー名が必要です");
    if (breaksLine(section) || breaksLine(key))
        return QStringLiteral("セクション名かキー名に改行かNUL文字があります");
    if (section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return QStringLiteral("セクション名に「]」か、キー名に「=」があります");
    return {};
}

} // namespace

namespace Module1 {

QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, int size, const QString &fileName)
{
    if (fileName.isEmpty())
        return defaultValue;
    ProfileFile::Loaded spare;
    const ProfileFile::Loaded &loaded =
        loadedFile(rememberedInBatch(ProfileFile::resolvedPath, fileName), spare);
    if (!loaded.document)
        return defaultValue;
    return loaded.document->value(section, key, qMax(size - 1, 0)).value_or(defaultValue);
}

WriteStatus WritePrivateProfileString(const QString &section, const QString &key,
                                      const QString &value, const QString &fileName)
{
    if (fileName.isEmpty())
        return WriteStatus::failed(fileName, QStringLiteral("書き込むファイルが決まっていません"));
    if (const QString problem = nameProblem(section, key); !problem.isEmpty())
        return WriteStatus::failed(fileName, problem);
    const QString path = rememberedInBatch(ProfileFile::resolvedPath, fileName);
    ProfileFile::Loaded spare;
    ProfileFile::Loaded &loaded = loadedFile(path, spare);
    // A file that exists but cannot be read is never replaced by one made from nothing.
    if (!loaded.document)
        return WriteStatus::failed(
            fileName, QStringLiteral("ファイルを読み込めません（%1）").arg(loaded.error));
    loaded.document->write(section, key, singleLine(value));
    if (const QString error = loaded.document->readError(); !error.isEmpty())
        return WriteStatus::failed(fileName, error);
    if (batch.depth > 0)
        return {fileName, {}};
    WriteStatus status = ProfileFile::save(path, *loaded.document);
    status.fileName = fileName;
    return status;
}

ProfileBatch::ProfileBatch()
{
    ++batch.depth;
}

ProfileBatch::~ProfileBatch()
{
    if (--batch.depth == 0) {
        batch.files.clear();
        batch.lookedUp.clear();
    }
}

WriteStatus ProfileBatch::commit()
{
    if (batch.depth > 1)
        return {};
    WriteStatus first;
    for (auto it = batch.files.begin(); it != batch.files.end();) {
        ProfileDocument *document = it->second.document.get();
        if (!document) {
            ++it;
            continue;
        }
        const WriteStatus status = ProfileFile::save(it->first, *document);
        if (first.ok() && !status.ok())
            first = status;
        // A saved file is read afresh when the batch needs it again.
        it = status.ok() ? batch.files.erase(it) : std::next(it);
    }
    return first;
}

QString rememberedInBatch(LookUp lookUp, const QString &name)
{
    if (batch.depth == 0)
        return lookUp(name);
    auto found = batch.lookedUp.find({lookUp, name});
    if (found == batch.lookedUp.end())
        found = batch.lookedUp.emplace(std::pair{lookUp, name}, lookUp(name)).first;
    return found->second;
}

} // namespace Module1
