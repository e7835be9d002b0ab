#include "forms/FolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QSettings>

namespace {

// The test's answer: a folder, or an empty one for a cancel.
std::optional<QString> g_nextAnswer;

QSettings settings()
{
    return QSettings(QStringLiteral("korvane"), QStringLiteral("korvane-wizard"));
}

const QString kLastFolder = QStringLiteral("discFolder");

} // namespace

std::optional<QString> FolderDialog::chooseDiscFolder()
{
    const QString chosen =
        g_nextAnswer
            ? *std::exchange(g_nextAnswer, std::nullopt)
            : QFileDialog::getExistingDirectory(
                  nullptr, QStringLiteral("ディスクのルートにするフォルダーを選んでください"),
                  settings().value(kLastFolder, QDir::homePath()).toString());
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void FolderDialog::remember(const QString &folder)
{
    settings().setValue(kLastFolder, folder);
}

void FolderDialog::setNextFolder(const QString &folder)
{
    g_nextAnswer = folder;
}

void FolderDialog::setNextCancel()
{
    g_nextAnswer = QString();
}

void FolderDialog::forgetNextAnswer()
{
    g_nextAnswer.reset();
}
