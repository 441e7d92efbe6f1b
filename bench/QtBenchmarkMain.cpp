#include "QtBenchmarkMain.h"

#include "text/MessageSink.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<std::function<void()>>& EndWork()
{
    static std::vector<std::function<void()>> work;
    return work;
}

} // namespace

void AtBenchmarkEnd(std::function<void()> work)
{
    EndWork().push_back(std::move(work));
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetMessageSink([](const QString&) {});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    while (!EndWork().empty()) {
        const std::function<void()> work = std::move(EndWork().back());
        EndWork().pop_back();
        work();
    }
    return 0;
}
