// Start of the program to its login window on an X display, as a whole
// process: the built `tembra` in a folder of its own beside the demo
// database, under an Xvfb display of this benchmark's own, beside Qt
// programs built the same way that show one dialog of the same size, empty
// or with the login's kinds of controls (FieldsDialogProgram.cpp). Each
// iteration starts the process and ends it (killed) once its window is
// mapped, or mapped and painted (its first picture on the screen); the time
// is from the start of the process.
//
// Run it alone: --benchmark_enable_random_interleaving=true
// --benchmark_repetitions=40, figures as medians.
#include "DemoDatabase.h"
#include "TempFolder.h"
#include "XDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPoint>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace {

constexpr int kWidth = 419; // the login window's size, and the reference's
constexpr int kHeight = 224;
constexpr int kWaitMs = 30000;

// The display, and a connection to it that hears every top-level window
// being mapped and reads what the screen shows.
class ScreenWatch
{
public:
    ScreenWatch()
    {
        if (!m_display.IsRunning())
            return;
        m_connection = XOpenDisplay(m_display.Name().toLocal8Bit().constData());
        if (!m_connection)
            return;
        const Window root = DefaultRootWindow(m_connection);
        XSelectInput(m_connection, root, SubstructureNotifyMask);
        // What the screen shows where no window is: a window is painted once
        // its pixels differ from it.
        m_root = XGetImage(m_connection, root, 0, 0, XDisplay::Width, XDisplay::Height, AllPlanes, ZPixmap);
    }
    ~ScreenWatch()
    {
        if (m_root)
            XDestroyImage(m_root);
        if (m_connection)
            XCloseDisplay(m_connection);
    }
    ScreenWatch(const ScreenWatch&) = delete;
    ScreenWatch& operator=(const ScreenWatch&) = delete;

    bool Ready() const { return m_connection != nullptr && m_root != nullptr; }
    QString Name() const { return m_display.Name(); }

    // Forgets what happened before (the windows of the process before).
    void Drain()
    {
        XSync(m_connection, False);
        XEvent event;
        while (XPending(m_connection) > 0)
            XNextEvent(m_connection, &event);
    }

    // Waits until a top-level window of the login's size is mapped; none
    // after the time-out or when the process ended first.
    Window WaitForMap(const QProcess& process)
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kWaitMs && process.state() == QProcess::Running) {
            while (XPending(m_connection) > 0) {
                XEvent event;
                XNextEvent(m_connection, &event);
                if (event.type == MapNotify && IsLoginSized(event.xmap.window))
                    return event.xmap.window;
            }
            pollfd wait{ConnectionNumber(m_connection), POLLIN, 0};
            poll(&wait, 1, 20);
        }
        return None;
    }

    // Waits until the mapped window shows its first picture: a few points of
    // it no longer show the screen behind it. False after the time-out.
    bool WaitForPaint(const QProcess& process, Window window)
    {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_connection, window, &attributes))
            return false;
        const QPoint points[] = {{kWidth / 2, kHeight / 2}, {kWidth / 4, kHeight / 3}, {3 * kWidth / 4, 2 * kHeight / 3}};
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < kWaitMs && process.state() == QProcess::Running) {
            for (const QPoint& point : points) {
                XImage* pixel = XGetImage(m_connection, window, point.x(), point.y(), 1, 1, AllPlanes, ZPixmap);
                if (!pixel)
                    return false;
                const bool changed = XGetPixel(pixel, 0, 0) != XGetPixel(m_root, attributes.x + point.x(), attributes.y + point.y());
                XDestroyImage(pixel);
                if (changed)
                    return true;
            }
            usleep(200);
        }
        return false;
    }

private:
    bool IsLoginSized(Window window)
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_connection, window, &attributes) && attributes.width == kWidth
            && attributes.height == kHeight;
    }

    XDisplay m_display;
    Display* m_connection = nullptr;
    XImage* m_root = nullptr;
};

// Made in main, after the application object it needs.
ScreenWatch* watchOfRun = nullptr;

// A program folder with the program as "tembra", the demo database and a
// cfg.ini pointing at it.
class ProgramFolder
{
public:
    ProgramFolder()
    {
        QString failure;
        m_bReady = MakeDemoSqliteFile(DemoSourceFolder(), m_folder.file(QStringLiteral("demo.mdb")), failure)
            && QFile::copy(QStringLiteral(TEMBRA_PROGRAM), Program());
        m_folder.writeBytes(QStringLiteral("cfg.ini"), DemoSettings(m_folder.file(QStringLiteral("demo.mdb"))));
    }
    bool Ready() const { return m_bReady; }
    QString Program() const { return m_folder.file(QStringLiteral("tembra")); }

private:
    TempFolder m_folder;
    bool m_bReady = false;
};

// Until the window is mapped, or until it is painted as well.
enum class Until
{
    Mapped,
    Painted,
};

void RunUntil(benchmark::State& state, const QString& program, Until until)
{
    ScreenWatch& watch = *watchOfRun;
    if (!watch.Ready()) {
        state.SkipWithError("no X display (is Xvfb installed?)");
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), watch.Name());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (auto _ : state) {
        watch.Drain();
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        const Window window = process.waitForStarted(kWaitMs) ? watch.WaitForMap(process) : None;
        const bool reached = window != None && (until == Until::Mapped || watch.WaitForPaint(process, window));
        const qint64 elapsed = timer.nsecsElapsed();
        process.kill();
        process.waitForFinished(kWaitMs);
        if (!reached) {
            state.SkipWithError("the window was not mapped and painted");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::nanoseconds(elapsed)).count());
    }
}

// The program folder, made once; null after a failure.
const ProgramFolder* Folder(benchmark::State& state)
{
    static ProgramFolder folder;
    if (!folder.Ready()) {
        state.SkipWithError("the program folder could not be made");
        return nullptr;
    }
    return &folder;
}

void BM_StartToLoginMapped(benchmark::State& state)
{
    if (const ProgramFolder* folder = Folder(state))
        RunUntil(state, folder->Program(), Until::Mapped);
}

void BM_OneDialogMapped(benchmark::State& state)
{
    RunUntil(state, QStringLiteral(TEMBRA_ONE_DIALOG_PROGRAM), Until::Mapped);
}

void BM_FieldsDialogMapped(benchmark::State& state)
{
    RunUntil(state, QStringLiteral(TEMBRA_FIELDS_DIALOG_PROGRAM), Until::Mapped);
}

void BM_FieldsDialogPainted(benchmark::State& state)
{
    RunUntil(state, QStringLiteral(TEMBRA_FIELDS_DIALOG_PROGRAM), Until::Painted);
}

void BM_StartToLoginPainted(benchmark::State& state)
{
    if (const ProgramFolder* folder = Folder(state))
        RunUntil(state, folder->Program(), Until::Painted);
}

void BM_OneDialogPainted(benchmark::State& state)
{
    RunUntil(state, QStringLiteral(TEMBRA_ONE_DIALOG_PROGRAM), Until::Painted);
}

BENCHMARK(BM_OneDialogMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartToLoginMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FieldsDialogMapped)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OneDialogPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FieldsDialogPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StartToLoginPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ScreenWatch watch;
    watchOfRun = &watch;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
