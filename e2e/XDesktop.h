#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class XKeyboardMap;

// The window system of one display as a person meets it, through the X tools
// only: xdotool moves the pointer, clicks and types (XTest) and finds
// windows, xwininfo tells where their client areas lie; ImageMagick's import
// takes screenshots; xclip reads the clipboard; the keyboard map gets keys
// for the characters typed. Nothing here reaches into the program's code.
class XDesktop
{
public:
    // The window manager's own window, if any, is never one of the windows
    // found.
    explicit XDesktop(const QString& display, const QString& managerWindow = QString());
    ~XDesktop();

    QString Display() const { return m_strDisplay; }

    // Visible windows whose name matches the regular expression, newest last.
    QStringList FindWindows(const QString& namePattern) const;
    // Waits until such a window is shown; empty when none came in time.
    QString WaitForWindow(const QString& namePattern, int timeoutMs = 10000) const;
    bool WaitForNoWindow(const QString& namePattern, int timeoutMs = 10000) const;
    // The window's client area on the screen: under a window manager the
    // title bar and frame lie around it.
    QRect Geometry(const QString& window) const;
    QString WindowName(const QString& window) const;
    // Every visible top-level window, for finding the one that appeared.
    QStringList VisibleWindows() const;

    void Click(const QPoint& point) const;
    void DoubleClick(const QPoint& point) const;
    void RightClick(const QPoint& point) const;
    void MoveTo(const QPoint& point) const;
    // xdotool key names joined by blanks ("Tab", "ctrl+a Delete", "Return").
    void Key(const QString& keys) const;
    // Types the text character by character (any script).
    void Type(const QString& text) const;

    QImage Grab() const;
    bool Screenshot(const QString& path) const;
    QString Clipboard() const;
    void SetClipboard(const QString& text) const;

    // Runs a tool on this display (pdftotext, zbarimg, python3 ...) and
    // returns what it wrote to its output.
    QString Output(const QString& program, const QStringList& arguments, int timeoutMs = 30000) const
    {
        return Run(program, arguments, {}, timeoutMs);
    }

    // Waits, letting the program work, until the test holds or the time is up.
    static bool WaitUntil(const std::function<bool()>& test, int timeoutMs = 10000, int stepMs = 100);
    static void Pause(int ms);

private:
    QString Run(const QString& program, const QStringList& arguments, const QByteArray& input = {},
                int timeoutMs = 15000) const;
    QString XdoTool(const QStringList& arguments) const;

    QString m_strDisplay;
    QString m_strManagerWindow;
    // Made at the first text typed, when the display runs.
    mutable std::unique_ptr<XKeyboardMap> m_keyboardMap;
};
