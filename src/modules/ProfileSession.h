#pragma once

#include "modules/FileStatus.h"
#include "modules/ProfileDocument.h"

#include <QString>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// The settings files that one save or one import works on: the source file it reads, read
// once and kept, and the output file it writes, with the writes held until commit(). Reads of
// a source that is the output file see the writes held; a session dropped without commit()
// writes nothing. One thread uses a session at a time; cancel() may come from any.
class ProfileSession
{
public:
    struct Files
    {
        QString output; // where IniWrite writes
        QString source; // where IniRead reads
    };

    explicit ProfileSession(Files files = {});
    ProfileSession(const ProfileSession &) = delete;
    ProfileSession &operator=(const ProfileSession &) = delete;

    const QString &outputFile() const { return m_files.output; }
    const QString &sourceFile() const { return m_files.source; }
    // Makes the session read another source file from now on.
    void setSourceFile(const QString &fileName);
    // Refuses, when confined, a source file that is not really in the folder its name is in: a
    // disc nobody here made may hold a link to a file of this machine.
    void confineSourceToItsFolder(bool confined = true) { m_confined = confined; }

    // Reads the source file, unless it was read already: why it could not be, NotFound for a
    // file that is not there.
    FileStatus readSource();

    // The value of key in section of the source file, cut to maxBytes of code page 932;
    // nothing when the file, the section or the key is missing, or the file cannot be read.
    std::optional<QString> read(const QString &section, const QString &key, qsizetype maxBytes);

    // Holds a write of value to key in section of the output file until commit(). CR and LF
    // become blanks and NUL goes, so that a value cannot start a line of its own; names that
    // could not be read back fail here.
    FileStatus write(const QString &section, const QString &key, const QString &value);

    // Replaces the output file once with every write held: ok when it was replaced, or had
    // nothing to change. A file that cannot be read is never replaced, nor one that another
    // program changed since it was read. A cancel counts until the file is renamed; from then
    // on the save has happened, and says so.
    FileStatus commit();

    // Makes what the session does now, and all it does later, stop and fail as Cancelled.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

    // Runs in commit() between writing the new content and the check before the rename.
    void setBeforeReplace(std::function<void()> hook) { m_beforeReplace = std::move(hook); }
    // Runs in commit() right after the rename, on the thread that commits: the point after
    // which a cancel changes nothing.
    void setAfterReplace(std::function<void()> hook) { m_afterReplace = std::move(hook); }

private:
    const ProfileDocument *source();

    Files m_files;
    bool m_confined = false;
    std::optional<ProfileDocument> m_source; // as read, with the writes held when it is the output
    FileStatus m_sourceStatus;
    std::vector<ProfileDocument::Write> m_held;
    std::atomic<bool> m_cancelled = false;
    std::function<void()> m_beforeReplace;
    std::function<void()> m_afterReplace;
};
