#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

struct ProbeName
{
    QString section;
    QString key;
};

// The sections and keys a file's bytes seem to hold, found by a rough reading of its lines
// of its own: names to check before and after a write, not a second parser to trust.
std::vector<ProbeName> probeNames(const QByteArray &file);
