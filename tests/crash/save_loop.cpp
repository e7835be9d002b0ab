// The process the crash test kills: it saves page 1 and finishes into the KORV.ini it is
// given, over and over, switching between the two value sets, until it is killed. It says
// "saving" once it starts, and ends by itself after a while if nobody kills it.
#include "CrashValues.h"

#include "modules/Cp932.h"
#include "wizard/Saves.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr qint64 kLifetimeMs = 30'000;

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: save-loop <KORV.ini> <first set: 0 or 1>\n");
        return 2;
    }
    int set = std::atoi(argv[2]) == 0 ? 0 : 1;
    FakeFields fields;
    fields.setText(kOutputPathHolder, QString::fromLocal8Bit(argv[1]));
    // The code page's tables load on first use; loaded before "saving", so that the kills
    // land in saves rather than in start-up.
    Cp932::encode(QStringLiteral("ソ"));
    std::puts("saving");
    std::fflush(stdout);
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
