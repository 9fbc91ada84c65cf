#include "HelperProcess.h"

#include "Dialogs.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {

constexpr int StartLimit = 10000; // ms: a program that exists starts well within this
constexpr int StopLimit = 5000;   // ms: a killed program is gone well within this

} // namespace

HelperRun RunHelper(const QString& program, const QStringList& arguments, const QString& workingFolder, int limitMs)
{
    const HourglassCursor hourglass;
    HelperRun run;
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(StartLimit)) {
        run.errorText = process.errorString();
        return run;
    }
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    bool timedOut = false;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&limit, &QTimer::timeout, &loop, [&timedOut, &loop] {
        timedOut = true;
        loop.quit();
    });
    limit.start(limitMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (timedOut) {
        process.kill();
        process.waitForFinished(StopLimit);
        run.outcome = HelperRun::Outcome::TimedOut;
        return run;
    }
    run.errorText = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() == QProcess::CrashExit) {
        run.outcome = HelperRun::Outcome::Crashed;
        return run;
    }
    run.outcome = HelperRun::Outcome::Finished;
    run.exitCode = process.exitCode();
    return run;
}
