// A wizard that saves over and over into the KORV.ini it is given.
//
//   save-loop <KORV.ini> 0|1               saves page 1 and finishes, switching between the two
//                                          value sets, until it is killed; the crash test's
//   save-loop <KORV.ini> pages|comments N  N page-1 saves, or N comment saves, each with a
//                                          value of its own, beside another wizard doing the
//                                          other: each save first checks that the file still
//                                          holds what its last one wrote, and it ends by
//                                          saying how many of its saves were lost.
//
// It says "saving" once it starts, and ends by itself after a while if nobody kills it.
#include "CrashValues.h"

#include "modules/Cp932.h"
#include "support/Module1.h"
#include "wizard/Saves.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr qint64 kLifetimeMs = 30'000;

// The crash test's loop: two saves a round, until killed.
int saveUntilKilled(FakeFields &fields, int set)
{
    QElapsedTimer alive;
    alive.start();
    while (alive.elapsed() < kLifetimeMs) {
        CrashValues::fill(fields, set);
        FileStatus status = runSave(Saves::pageOneSave, fields);
        if (status.ok())
            status = runSave(Saves::finishingSave, fields);
        if (!status.ok()) {
            std::fprintf(stderr, "save failed: %d\n", int(status.problem));
            return 1;
        }
        set = 1 - set;
    }
    return 0;
}

// count saves of one kind, each with its number in a key that only this kind writes: the
// first name for page-1 saves, the title for comment saves.
int saveBesideAnother(FakeFields &fields, const QString &file, bool pages, int count)
{
    const QString section = pages ? QStringLiteral("NAME") : QStringLiteral("memo");
    const QString key = pages ? QStringLiteral("1") : QStringLiteral("taitoru");
    const QString mark = pages ? QStringLiteral("pages-%1") : QStringLiteral("comments-%1");
    fields.set(FormId::Form5, "Text2", QStringLiteral("comment"));
    int lost = 0;
    for (int save = 0; save < count; ++save) {
        const QString held = Module1::GetPrivateProfileString(section, key, {}, 1024, file);
        if (save > 0 && held != mark.arg(save - 1)) {
            std::fprintf(stderr, "save %d lost: the file holds \"%s\"\n", save - 1,
                         qPrintable(held));
            ++lost;
        }
        fields.set(pages ? FormId::Form2 : FormId::Form5, "Text1", mark.arg(save));
        const FileStatus status =
            runSave(pages ? Saves::pageOneSave : Saves::commentSave, fields);
        if (!status.ok()) {
            std::fprintf(stderr, "save failed: %d\n", int(status.problem));
            return 1;
        }
    }
    std::printf("lost %d of %d\n", lost, count);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const bool besideAnother =
        argc == 4 && (std::strcmp(argv[2], "pages") == 0 || std::strcmp(argv[2], "comments") == 0);
    if (argc != 3 && !besideAnother) {
        std::fprintf(stderr, "usage: save-loop <KORV.ini> 0|1\n"
                             "       save-loop <KORV.ini> pages|comments <count>\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    FakeFields fields;
    fields.setText(kOutputPathHolder, file);
    // The code page's tables load on first use; loaded before "saving", so that the kills
    // land in saves rather than in start-up.
    Cp932::encode(QStringLiteral("ソ"));
    std::puts("saving");
    std::fflush(stdout);
    if (besideAnother)
        return saveBesideAnother(fields, file, std::strcmp(argv[2], "pages") == 0,
                                 std::atoi(argv[3]));
    return saveUntilKilled(fields, std::atoi(argv[2]) == 0 ? 0 : 1);
}
