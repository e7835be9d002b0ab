#include "forms/EntryProblems.h"

#include "forms/FormBase.h"
#include "forms/Forms.h"
#include "forms/MessageBox.h"
#include "modules/Module2.h"
#include "wizard/EntrySlots.h"

#include <QDir>
#include <algorithm>

using EntryCheck::Fault;

namespace {

// "3番（1ページ目）"
QString entryName(int slot)
{
    const int page = EntrySlots::all()[std::size_t(slot - 1)].form == FormId::Form2 ? 1 : 2;
    return QStringLiteral("%1番（%2ページ目）").arg(slot).arg(page);
}

QString why(const EntryCheck::Problem &problem)
{
    const QString path = QDir::toNativeSeparators(problem.path);
    const QString root = QDir::toNativeSeparators(problem.root);
    switch (problem.fault) {
    case Fault::AbsolutePath:
        return QStringLiteral("パス「%1」はディスクの外の場所です。ディスクのランチャーからは"
                              "開けません。")
            .arg(path);
    case Fault::FileMissing:
        return QStringLiteral("「%1」がディスクのルート「%2」の中にありません。").arg(path, root);
    case Fault::NameWithoutPath:
        return QStringLiteral("名前だけで、パスがありません。ボタンを押しても何も開きません。");
    case Fault::PathWithoutName:
        return QStringLiteral("パスだけで、名前がありません。ボタンに何も書かれません。");
    case Fault::MenuNotShown:
        return QStringLiteral("名前が空なので、CDを入れるとランチャーはメニューを出さずに1番の"
                              "ソフトを実行します。2番から後の項目は使われません。");
    case Fault::NameTooLong:
        return QStringLiteral("名前が %1 バイトより長く、ランチャーは最後まで読み込めません。")
            .arg(Module2::kLongestValue);
    case Fault::PathTooLong:
        return QStringLiteral("パスが %1 バイトより長く、ランチャーは最後まで読み込めません。")
            .arg(Module2::kLongestValue);
    case Fault::LauncherMissing:
        return QStringLiteral("ルートに %1 がありません。").arg(path);
    }
    return {};
}

// The problem in the user's words: which entry, by number and page, and why it will not work.
QString describe(const EntryCheck::Problem &problem)
{
    const QString where = problem.slot > 0 ? entryName(problem.slot)
                                           : QStringLiteral("ディスクのフォルダー「%1」")
                                                 .arg(QDir::toNativeSeparators(problem.root));
    return QStringLiteral("%1: %2").arg(where, why(problem));
}

} // namespace

bool EntryProblems::saveAsIs(FormBase *window, Forms &forms, Check check,
                             const EntryCheck::Roots &roots)
{
    const QList<EntryCheck::Problem> problems = check(forms, roots);
    if (problems.isEmpty())
        return true;
    QStringList rows;
    for (const EntryCheck::Problem &problem : problems)
        rows.append(describe(problem));
    if (MessageBox::saveAsIs(window, rows))
        return true;
    const auto named = std::ranges::find_if(
        problems, [](const EntryCheck::Problem &problem) { return problem.field.has_value(); });
    if (named != problems.end())
        window->goBackTo(*named->field);
    return false;
}
