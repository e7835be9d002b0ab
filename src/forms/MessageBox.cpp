#include "forms/MessageBox.h"

#include "forms/FileProblems.h"

#include <QHash>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <utility>

namespace {

struct Choice
{
    MessageBox::Answer answer;
    QString label;
    QMessageBox::ButtonRole role;
};

MessageBox::Recorder *g_recorder = nullptr;

// The first choice is the default. Esc and the close box give the one that turns back, or the
// first when none does: the others must be chosen on purpose. The texts are shown as they are,
// markup or not: they name the user's files.
MessageBox::Answer showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                           const QString &text, const QList<Choice> &choices)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QHash<QAbstractButton *, MessageBox::Answer> answers;
    for (const Choice &choice : choices)
        answers.insert(box.addButton(choice.label, choice.role), choice.answer);
    const auto turnsBack = std::ranges::find(choices, QMessageBox::RejectRole, &Choice::role);
    const Choice &escape = turnsBack == choices.end() ? choices.constFirst() : *turnsBack;
    // By the buttons' order on screen, which follows their roles, not by the order they came in.
    box.setDefaultButton(qobject_cast<QPushButton *>(answers.key(choices.constFirst().answer)));
    box.setEscapeButton(answers.key(escape.answer));
    box.exec();
    return answers.value(box.clickedButton(), escape.answer);
}

MessageBox::Answer ask(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                       const QString &text, const QList<Choice> &choices)
{
    if (g_recorder) {
        g_recorder->shown.append({title, text});
        if (g_recorder->nextAnswer)
            return *std::exchange(g_recorder->nextAnswer, std::nullopt);
    }
    return showBox(parent, icon, title, text, choices);
}

// Each character with its code point: the font may have no glyph for it, and an empty box
// would not tell the user which character to remove.
QString namedCharacters(const QString &characters)
{
    QStringList named;
    for (const char32_t c : characters.toUcs4())
        named.append(
            QStringLiteral("%1 (U+%2)")
                .arg(QString::fromUcs4(&c, 1),
                     QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'))));
    return named.join(QStringLiteral("、"));
}

// One bulleted line each.
QString bulleted(const QStringList &rows)
{
    QStringList lines;
    for (const QString &row : rows)
        lines.append(QStringLiteral("・") + row);
    return lines.join(QLatin1Char('\n'));
}

QString unstorableList(const QList<Saves::Unstorable> &found)
{
    QStringList rows;
    for (const Saves::Unstorable &entry : found)
        rows.append(
            QStringLiteral("%1: %2").arg(entry.description, namedCharacters(entry.characters)));
    return bulleted(rows);
}

// A warning before a save, whose user goes back to edit (the default) or saves all the same
// with the choice save.
bool savesAfterAll(QWidget *parent, const QString &title, const QString &text, const Choice &save)
{
    const QList<Choice> choices{
        {MessageBox::Answer::GoBackAndEdit, QStringLiteral("戻って修正"), QMessageBox::RejectRole},
        save};
    return ask(parent, QMessageBox::Warning, title, text, choices) == save.answer;
}

} // namespace

bool MessageBox::writeFailed(QWidget *parent, const FileStatus &status)
{
    const Answer answer = ask(parent, QMessageBox::Critical, QStringLiteral("保存できませんでした"),
                              QStringLiteral("「%1」に書き込めませんでした。\n理由: %2")
                                  .arg(status.fileName, FileProblems::reason(status)),
                              {{Answer::Ok, QStringLiteral("ＯＫ"), QMessageBox::AcceptRole},
                               {Answer::SaveElsewhere, QStringLiteral("別のフォルダーに保存…"),
                                QMessageBox::ActionRole}});
    return answer == Answer::SaveElsewhere;
}

void MessageBox::readFailed(QWidget *parent, const FileStatus &status)
{
    ask(parent, QMessageBox::Critical, QStringLiteral("読み込めませんでした"),
        QStringLiteral("「%1」を読み込めませんでした。\n理由: %2\n\n入力した内容はそのままです。")
            .arg(status.fileName, FileProblems::reason(status)),
        {{Answer::Ok, QStringLiteral("OK"), QMessageBox::AcceptRole}});
}

bool MessageBox::chooseAnotherFolder(const QString &folder, const QString &reason)
{
    const Answer answer =
        ask(nullptr, QMessageBox::Warning, QStringLiteral("KORVANE作成ウィザード"),
            QStringLiteral("フォルダー「%1」には KORV.ini を保存できません。\n理由: %2\n\n"
                           "ディスクのルートにするフォルダーを選んでください。")
                .arg(folder, reason),
            {{Answer::ChooseFolder, QStringLiteral("フォルダーを選ぶ"), QMessageBox::AcceptRole},
             {Answer::Quit, QStringLiteral("終了"), QMessageBox::RejectRole}});
    return answer == Answer::ChooseFolder;
}

bool MessageBox::saveWithQuestionMarks(QWidget *parent, const QList<Saves::Unstorable> &found)
{
    return savesAfterAll(
        parent, QStringLiteral("保存できない文字があります"),
        QStringLiteral("次の欄には KORV.ini に保存できない文字があります。\n\n%1\n\n"
                       "戻って修正するか、これらの文字を「?」に置き換えて保存してください。")
            .arg(unstorableList(found)),
        {Answer::SaveWithQuestionMarks, QStringLiteral("？に置き換えて保存"),
         QMessageBox::AcceptRole});
}

bool MessageBox::saveAsIs(QWidget *parent, const QStringList &rows)
{
    return savesAfterAll(
        parent, QStringLiteral("ディスクで使えない項目があります"),
        QStringLiteral("次の項目は、このままではディスクのランチャーで使えません。\n\n%1\n\n"
                       "戻って修正するか、このまま保存してください。")
            .arg(bulleted(rows)),
        {Answer::SaveAsIs, QStringLiteral("このまま保存"), QMessageBox::AcceptRole});
}

MessageBox::Recorder::Recorder()
{
    g_recorder = this;
}

MessageBox::Recorder::~Recorder()
{
    g_recorder = nullptr;
}
