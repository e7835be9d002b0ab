#pragma once

#include "modules/FileStatus.h"

#include <QString>

// The user's words for why a settings file or the disc folder could not be read or written.
namespace FileProblems {

QString reason(const FileStatus &status);

} // namespace FileProblems
