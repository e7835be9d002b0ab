#include "FuzzModel.h"

#include "support/Module1.h"

#include <algorithm>

namespace {

// Names match as the profile functions match them: blanks around them and the case of
// ASCII letters aside.
QString folded(const QString &name)
{
    QString result = ExpectedRead::trimmedBlanks(name);
    for (QChar &c : result) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return result;
}

} // namespace

const QString FuzzModel::kMissing = QStringLiteral("<missing>");

FuzzModel::FuzzModel(const ExpectedRead &expected, const QString &original)
    : m_expected(&expected),
      m_originalReader(std::make_shared<ProfileSession>(ProfileSession::Files{{}, original}))
{}

void FuzzModel::wrote(const FuzzInput::Write &write)
{
    const QString value = ExpectedRead::unwrapped(m_expected->stored(write.value));
    if (Entry *entry = find(write.section, write.key))
        entry->value = value;
    else
        m_entries.push_back({write.section, write.key, value});
}

QString FuzzModel::expectedRead(const QString &section, const QString &key, int size)
{
    if (const Entry *entry = find(section, key))
        return m_expected->cut(entry->value, qMax(size - 1, 0));
    return m_originalReader->read(section, key, qMax(size - 1, 0)).value_or(kMissing);
}

QString FuzzModel::read(const QString &section, const QString &key, int size, const QString &file)
{
    return Module1::GetPrivateProfileString(section, key, kMissing, size, file);
}

FuzzModel::Entry *FuzzModel::find(const QString &section, const QString &key)
{
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) {
        return folded(e.section) == folded(section) && folded(e.key) == folded(key);
    });
    return found != m_entries.end() ? &*found : nullptr;
}
