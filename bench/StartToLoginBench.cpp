// Start of the program to its login dialog on the screen, as a whole process
// on the demo database, beside a Qt program that shows one dialog. Both run
// on the offscreen platform; each iteration is one process start.
#include "DemoDatabase.h"
#include "TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// A program folder with the program as "tembra", the demo database and a
// cfg.ini pointing at it.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        QString failure;
        m_bReady = MakeDemoSqliteFile(DemoSourceFolder(), m_folder.file(QStringLiteral("demo.mdb")), failure)
            && QFile::copy(QStringLiteral(TEMBRA_START_TO_LOGIN_PROGRAM), Program());
        m_folder.writeBytes(QStringLiteral("cfg.ini"), DemoSettings(m_folder.file(QStringLiteral("demo.mdb"))));
    }
    bool Ready() const { return m_bReady; }
    QString Program() const { return m_folder.file(QStringLiteral("tembra")); }

private:
    TempFolder m_folder;
    bool m_bReady = false;
};

void RunProcesses(benchmark::State& state, const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        if (!process.waitForFinished(30000)) {
            state.SkipWithError("the program did not end");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::nanoseconds(timer.nsecsElapsed())).count());
    }
}

void BM_StartToLoginShown(benchmark::State& state)
{
    static ProgramFolder folder;
    if (!folder.Ready()) {
        state.SkipWithError("the program folder could not be made");
        return;
    }
    RunProcesses(state, folder.Program());
}

void BM_OneDialogShown(benchmark::State& state)
{
    RunProcesses(state, QStringLiteral(TEMBRA_ONE_DIALOG_PROGRAM));
}

// The machine is shared: the least of the runs is the figure to compare.
double Least(const std::vector<double>& times)
{
    return *std::min_element(times.begin(), times.end());
}

BENCHMARK(BM_OneDialogShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(40)
    ->ComputeStatistics("min", Least)->ReportAggregatesOnly();
BENCHMARK(BM_StartToLoginShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(40)
    ->ComputeStatistics("min", Least)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
