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

std::optional<QString> chosenFolder(const QString &title)
{
    const QString chosen =
        g_nextAnswer
            ? *std::exchange(g_nextAnswer, std::nullopt)
            : QFileDialog::getExistingDirectory(
                  nullptr, title, settings().value(kLastFolder, QDir::homePath()).toString());
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

std::optional<QString> FolderDialog::chooseDiscFolder()
{
    return chosenFolder(QStringLiteral("ディスクのルートにするフォルダーを選んでください"));
}

std::optional<QString> FolderDialog::chooseFolderToRead()
{
    return chosenFolder(QStringLiteral("読み込む KORV.ini のあるフォルダーを選んでください"));
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
