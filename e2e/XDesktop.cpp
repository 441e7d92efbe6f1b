#include "XDesktop.h"
#include "XKeyboardMap.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

namespace {

// Time the program gets to take in one input event before the next.
constexpr int kInputSettleMs = 120;
constexpr int kTypeDelayMs = 25;
constexpr int kMappedKeyMs = 80;

} // namespace

XDesktop::XDesktop(const QString& display, const QString& managerWindow)
    : m_strDisplay(display), m_strManagerWindow(managerWindow)
{
}

XDesktop::~XDesktop() = default;

QString XDesktop::Run(const QString& program, const QStringList& arguments, const QByteArray& input,
                      int timeoutMs) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_strDisplay);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs))
        return QString();
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString XDesktop::XdoTool(const QStringList& arguments) const
{
    return Run(QStringLiteral("xdotool"), arguments);
}

QStringList XDesktop::FindWindows(const QString& namePattern) const
{
    QStringList windows =
        XdoTool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), namePattern})
            .split(u'\n', Qt::SkipEmptyParts);
    windows.removeAll(m_strManagerWindow);
    return windows;
}

QStringList XDesktop::VisibleWindows() const
{
    return FindWindows(QStringLiteral(".*"));
}

QString XDesktop::WaitForWindow(const QString& namePattern, int timeoutMs) const
{
    QString found;
    WaitUntil(
        [&] {
            const QStringList windows = FindWindows(namePattern);
            if (!windows.isEmpty())
                found = windows.last();
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

bool XDesktop::WaitForNoWindow(const QString& namePattern, int timeoutMs) const
{
    return WaitUntil([&] { return FindWindows(namePattern).isEmpty(); }, timeoutMs);
}

QRect XDesktop::Geometry(const QString& window) const
{
    // xdotool adds a framed window's place in its frame to its place on the
    // screen; xwininfo gives the client area's own.
    int x = 0, y = 0, w = 0, h = 0;
    const QStringList lines = Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}).split(u'\n');
    for (const QString& line : lines) {
        const QString value = line.section(u':', 1).trimmed();
        const QString name = line.section(u':', 0, 0).trimmed();
        if (name == u"Absolute upper-left X")
            x = value.toInt();
        else if (name == u"Absolute upper-left Y")
            y = value.toInt();
        else if (name == u"Width")
            w = value.toInt();
        else if (name == u"Height")
            h = value.toInt();
    }
    return QRect(x, y, w, h);
}

QString XDesktop::WindowName(const QString& window) const
{
    return XdoTool({QStringLiteral("getwindowname"), window}).trimmed();
}

void XDesktop::MoveTo(const QPoint& point) const
{
    XdoTool({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y())});
    Pause(kInputSettleMs / 2);
}

void XDesktop::Click(const QPoint& point) const
{
    MoveTo(point);
    XdoTool({QStringLiteral("click"), QStringLiteral("1")});
    Pause(kInputSettleMs);
}

void XDesktop::DoubleClick(const QPoint& point) const
{
    MoveTo(point);
    XdoTool({QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
             QStringLiteral("80"), QStringLiteral("1")});
    Pause(kInputSettleMs);
}

void XDesktop::RightClick(const QPoint& point) const
{
    MoveTo(point);
    XdoTool({QStringLiteral("click"), QStringLiteral("3")});
    Pause(kInputSettleMs);
}

void XDesktop::Key(const QString& keys) const
{
    QStringList arguments = {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")};
    arguments += keys.split(u' ', Qt::SkipEmptyParts);
    XdoTool(arguments);
    Pause(kInputSettleMs);
}

void XDesktop::Type(const QString& text) const
{
    // Characters outside the keyboard map get keys of their own first; when
    // that fails, xdotool maps a spare key to each for the moment, and such
    // texts go slower, so that a busy program reads each key under its own
    // mapping.
    if (!m_keyboardMap)
        m_keyboardMap = std::make_unique<XKeyboardMap>(m_strDisplay);
    const bool bound = m_keyboardMap->Bind(text);
    XdoTool({QStringLiteral("type"), QStringLiteral("--delay"), QString::number(bound ? kTypeDelayMs : kMappedKeyMs),
             text});
    Pause(kInputSettleMs);
}

QImage XDesktop::Grab() const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_strDisplay);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-")});
    process.waitForFinished(20000);
    return QImage::fromData(process.readAllStandardOutput(), "PNG");
}

bool XDesktop::Screenshot(const QString& path) const
{
    Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), path}, {}, 20000);
    return QImage(path).width() > 0;
}

QString XDesktop::Clipboard() const
{
    return Run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")},
               {}, 5000);
}

void XDesktop::SetClipboard(const QString& text) const
{
    // xclip reads the text, then leaves a copy of itself behind that serves
    // the clipboard until another owner takes it; the program started ends.
    Run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard")}, text.toUtf8(), 5000);
    Pause(kInputSettleMs);
}

bool XDesktop::WaitUntil(const std::function<bool()>& test, int timeoutMs, int stepMs)
{
    QElapsedTimer clock;
    clock.start();
    while (true) {
        if (test())
            return true;
        if (clock.elapsed() > timeoutMs)
            return false;
        Pause(stepMs);
    }
}

void XDesktop::Pause(int ms)
{
    QThread::msleep(ms);
}
