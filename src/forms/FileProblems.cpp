#include "forms/FileProblems.h"

QString FileProblems::reason(const FileStatus &status)
{
    switch (status.problem) {
    case FileProblem::None:
        return {};
    case FileProblem::NoFileName:
        return QStringLiteral("ファイルが決まっていません");
    case FileProblem::NameMissing:
        return QStringLiteral("セクション名とキー名が必要です");
    case FileProblem::NameBreaksLine:
        return QStringLiteral("セクション名かキー名に改行かNUL文字があります");
    case FileProblem::NameHasDelimiter:
        return QStringLiteral("セクション名に「]」か、キー名に「=」があります");
    case FileProblem::NotFound:
        return QStringLiteral("見つかりません");
    case FileProblem::IsFolder:
        return QStringLiteral("同じ名前のフォルダーがあります");
    case FileProblem::NotAFolder:
        return QStringLiteral("フォルダーではありません");
    case FileProblem::NotRegularFile:
        return QStringLiteral("普通のファイルではありません");
    case FileProblem::LinkLeavesVolume:
        return QStringLiteral("ドライブの外にあるファイルへのリンクです");
    case FileProblem::FolderMissing:
        return QStringLiteral("フォルダー「%1」がありません").arg(status.detail);
    case FileProblem::ReadFailed:
        return QStringLiteral("最後まで読み込めませんでした");
    case FileProblem::ReadOnlyFile:
        return QStringLiteral("読み取り専用のファイルです");
    case FileProblem::ChangedMeanwhile:
        return QStringLiteral("書き込む間にほかのプログラムが変更しました");
    case FileProblem::ReadOnlyFileSystem:
        return QStringLiteral("読み取り専用のファイルシステムです");
    case FileProblem::AccessDenied:
        return QStringLiteral("アクセスする権限がありません");
    case FileProblem::NotPermitted:
        return QStringLiteral("この操作は許可されていません");
    case FileProblem::DiskFull:
        return QStringLiteral("ディスクの空きが足りません");
    case FileProblem::QuotaExceeded:
        return QStringLiteral("ディスクの使用量の上限を超えます");
    case FileProblem::FileTooLarge:
        return status.detail.isEmpty()
                   ? QStringLiteral("ファイルが大きすぎます")
                   : QStringLiteral("ファイルが大きすぎます（読み書きできるのは%1までです）")
                         .arg(status.detail);
    case FileProblem::DiskError:
        return QStringLiteral("ディスクの読み書きに失敗しました");
    case FileProblem::PathTooLong:
        return QStringLiteral("パスが長すぎます");
    case FileProblem::TooManyLinks:
        return QStringLiteral("リンクが多すぎるか、輪になっています");
    case FileProblem::TooManyOpenFiles:
        return QStringLiteral("開いているファイルが多すぎます");
    case FileProblem::OutOfMemory:
        return QStringLiteral("メモリが足りません");
    case FileProblem::Busy:
        return QStringLiteral("ほかのプログラムが使っています");
    case FileProblem::NetworkFailed:
        return QStringLiteral("ネットワーク上のファイルに届きません");
    case FileProblem::Cancelled:
        return QStringLiteral("キャンセルされました");
    case FileProblem::SystemError:
        return QStringLiteral("システムのエラーです（エラー番号 %1）").arg(status.detail);
    }
    return {};
}
