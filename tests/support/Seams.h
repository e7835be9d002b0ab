#pragma once

#include "wizard/Volumes.h"

#include <QDir>
#include <QString>

// Guards for the seams a test installs: each undoes its seam when it goes out of scope, so
// that a failing test cannot leave it behind for the next.

// The wizard sees these volumes instead of the system's.
class OfferedVolumes
{
public:
    explicit OfferedVolumes(Volumes::Source source) { Volumes::setSource(std::move(source)); }
    explicit OfferedVolumes(const QList<Volume> &volumes)
        : OfferedVolumes([volumes] { return volumes; })
    {}
    ~OfferedVolumes() { Volumes::setSource({}); }
    OfferedVolumes(const OfferedVolumes &) = delete;
    OfferedVolumes &operator=(const OfferedVolumes &) = delete;
};

// The process works in folder meanwhile.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &folder) : m_old(QDir::currentPath())
    {
        m_set = QDir::setCurrent(folder);
    }
    ~CurrentFolder() { QDir::setCurrent(m_old); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;
    bool isSet() const { return m_set; }

private:
    QString m_old;
    bool m_set = false;
};
