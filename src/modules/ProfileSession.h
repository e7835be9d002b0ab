#pragma once

#include "modules/FileStatus.h"
#include "modules/ProfileFile.h"

#include <QString>

#include <atomic>
#include <functional>
#include <list>
#include <optional>
#include <vector>

// The settings files that one save or one import works on: the output file it writes, the
// source file it reads, the documents it has read, and the writes it holds until commit().
// Reads see the writes held; a session dropped without commit() writes nothing. One thread
// uses a session at a time; cancel() may come from any.
class ProfileSession
{
public:
    struct Files
    {
        QString output; // where IniWrite writes
        QString source; // where IniRead reads
    };

    // Names longer than this cannot be written: a file's lines are read only so far.
    static constexpr qsizetype kMaxNameLength = 1024;

    // expected names the section and key names the session is to be asked for: a file is
    // read noting only those (and the names written or asked since).
    explicit ProfileSession(Files files = {}, ExpectedNames expected = {});
    ProfileSession(const ProfileSession &) = delete;
    ProfileSession &operator=(const ProfileSession &) = delete;

    const QString &outputFile() const { return m_files.output; }
    const QString &sourceFile() const { return m_files.source; }

    // The value of key in section of fileName, as read with the writes held, cut to maxBytes
    // of CP932; nothing when the file, the section or the key is missing, or the file cannot
    // be read.
    std::optional<QString> read(const QString &fileName, const QString &section, const QString &key,
                                qsizetype maxBytes);

    // Why fileName could not be read, as far as it was read so far; ok for a file that could,
    // and for one that does not exist.
    FileStatus check(const QString &fileName);

    // Whether fileName was there when the session read it.
    bool exists(const QString &fileName);

    // Holds a write of value to key in section of fileName until commit(). CR and LF become
    // blanks and NUL goes, so that a value cannot start a line of its own; names that could
    // not be read back fail here.
    FileStatus write(const QString &fileName, const QString &section, const QString &key,
                     const QString &value);

    // Writes every file that writes are held for, each replaced once; the first failure. A
    // file that exists but cannot be read is never replaced. Files written are read afresh
    // when the session needs them again.
    FileStatus commit();

    // Makes what the session does now, and all it does later, stop and fail as Cancelled.
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

    // Makes a link that names the source file followed only when check lets it.
    void setSourceLinkCheck(ProfileFile::LinkCheck check) { m_sourceLinkCheck = std::move(check); }

    // Test seam: runs in commit() between writing a file's new content and replacing it.
    void setBeforeReplace(std::function<void()> hook) { m_beforeReplace = std::move(hook); }

private:
    struct HeldWrite
    {
        QString section;
        QString key;
        QString value;
    };
    struct OpenFile
    {
        QString name;               // as given
        ProfileFile::Loaded loaded; // document null until first needed
        std::vector<HeldWrite> held;
    };

    // The file of a name, made on first use.
    OpenFile &openFile(const QString &fileName);
    // The file's document with every held write applied; null when it cannot be read.
    ProfileDocument *document(OpenFile &file);
    FileStatus save(OpenFile &file);

    Files m_files;
    ExpectedNames m_expected;
    std::list<OpenFile> m_open; // in the order first used: a session uses a file or two
    std::atomic<bool> m_cancelled = false;
    std::function<void()> m_beforeReplace;
    ProfileFile::LinkCheck m_sourceLinkCheck;
};
