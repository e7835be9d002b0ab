#include "app/Startup.h"

#include "app/Platform.h"
#include "forms/FileProblems.h"
#include "forms/FolderDialog.h"
#include "forms/MessageBox.h"
#include "wizard/DiscFolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kUsageError = 2;
constexpr int kCannotStart = 1;

const QString kProgram = QStringLiteral("korvane-wizard");

const QString kFolderArgument = QStringLiteral("DISC-FOLDER");

int fail(const QString &message, int exitCode)
{
    QTextStream(stderr) << kProgram << ": " << message << Qt::endl;
    return exitCode;
}

// QCommandLineParser's own help has English headings until Qt's translations are loaded,
// which takes an application object: this one needs neither.
QString helpText(const QString &description, const QList<QCommandLineOption> &options,
                 const QString &folderDescription)
{
    QString text = QStringLiteral("使い方: %1 [オプション] [%2]\n%3\n\nオプション:\n")
                       .arg(kProgram, kFolderArgument, description);
    for (const QCommandLineOption &option : options) {
        const QStringList names = option.names();
        text += QStringLiteral("  -%1, --%2\t%3\n").arg(names[0], names[1], option.description());
    }
    return text + QStringLiteral("\n引数:\n  %1\t%2\n").arg(kFolderArgument, folderDescription);
}

// Qt's own words where no window can be shown are English and end the program abruptly:
// say it first, in the wizard's language.
std::optional<int> withoutDisplay()
{
    if (Platform::hasDisplay())
        return std::nullopt;
    return fail(
        QStringLiteral("ウィンドウを表示する画面がありません（DISPLAY が設定されていません）"),
        kCannotStart);
}

// Whether folder is where systems install programs (/usr/bin, /opt/..., C:\Program Files):
// no place for a user's file, whoever runs the program.
bool isSystemFolder(const QString &folder)
{
    static const QStringList unixFolders{"/usr/", "/opt/",  "/bin/", "/sbin/",
                                         "/lib/", "/snap/", "/app/", "/nix/"};
    QStringList systemFolders = unixFolders;
    for (const char *variable :
         {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "SystemRoot"}) {
        if (const QString windows = qEnvironmentVariable(variable); !windows.isEmpty())
            systemFolders.append(QDir::fromNativeSeparators(windows) + u'/');
    }
    const QString inside = QDir::fromNativeSeparators(QDir::cleanPath(folder)) + u'/';
    return std::ranges::any_of(systemFolders, [&inside](const QString &system) {
        return inside.startsWith(system, Qt::CaseInsensitive);
    });
}

} // namespace

Startup::CommandLine Startup::parse(const QStringList &arguments)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示して終了します。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("バージョンを表示して終了します。"));
    QCommandLineParser parser;
    parser.addOptions({help, version});
    if (!parser.parse(arguments))
        return {{},
                fail(QStringLiteral("知らないオプションです: %1（--help で使い方を表示します）")
                         .arg(parser.unknownOptionNames().join(QStringLiteral(", "))),
                     kUsageError)};
    if (parser.isSet(help)) {
        QTextStream(stdout) << helpText(
            QStringLiteral("CD-ROM のランチャー KORVANE のメニュー KORV.ini を作ります。"),
            {help, version},
            QStringLiteral("KORV.ini を書き込むフォルダー。CD のルートになるフォルダーで、"
                           "その下のファイルのパスは、そこからの相対パスで保存されます。"
                           "省略すると、このプログラムのフォルダーに書き込みます。"));
        return {{}, 0};
    }
    if (parser.isSet(version)) {
        QTextStream(stdout) << kProgram << ' ' << QStringLiteral(KORV_VERSION) << Qt::endl;
        return {{}, 0};
    }
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1)
        return {{}, fail(QStringLiteral("フォルダーは一つだけ指定できます"), kUsageError)};
    if (folders.isEmpty())
        return {{}, withoutDisplay()};
    if (folders.first().isEmpty())
        return {{}, fail(QStringLiteral("フォルダーの名前が空です"), kUsageError)};
    const QString folder = QDir(folders.first()).absolutePath();
    switch (DiscFolder::kindProblem(folder)) {
    case FileProblem::NotFound:
        return {{},
                fail(QStringLiteral("フォルダー「%1」が見つかりません").arg(folder), kCannotStart)};
    case FileProblem::NotAFolder:
        return {{},
                fail(QStringLiteral("「%1」はフォルダーではありません").arg(folder), kCannotStart)};
    default:
        return {folder, withoutDisplay()};
    }
}

std::optional<QString> Startup::outputFolder(const QString &folder, const QString &programFolder)
{
    // Why KORV.ini is not to go into candidate; empty when it may. An installed program's
    // folder is never tried: as root it could be written.
    auto whyNotInto = [&programFolder](const QString &candidate) {
        if (candidate == programFolder && isSystemFolder(candidate))
            return QStringLiteral("インストールされたプログラムのフォルダーです");
        const FileStatus status = DiscFolder::check(candidate);
        return status.ok() ? QString() : FileProblems::reason(status);
    };
    QString candidate = folder.isEmpty() ? programFolder : folder;
    bool chosen = false;
    for (QString reason = whyNotInto(candidate); !reason.isEmpty();
         reason = whyNotInto(candidate)) {
        std::optional<QString> answer;
        // A cancelled folder dialog comes back to the question.
        while (!answer) {
            if (!MessageBox::chooseAnotherFolder(candidate, reason))
                return std::nullopt;
            answer = FolderDialog::chooseDiscFolder();
        }
        candidate = *answer;
        chosen = true;
    }
    // Only a folder that can be written is the one to start at next time.
    if (chosen)
        FolderDialog::remember(candidate);
    return candidate;
}
