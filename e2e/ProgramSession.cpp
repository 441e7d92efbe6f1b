#include "ProgramSession.h"

#include "E2eTexts.h"
#include "text/Cp936.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QProcessEnvironment>

#include <unistd.h>

namespace {

// The menu tree in the order the navigation tree shows it once every group
// is open: each group, then its entries.
const QString kMenuRows = QStringLiteral("SELECT uid_0, pUid_0, name_0 FROM c_menu_dh ORDER BY level_0, pUid_0, order_0, uid_0");

// The stand-in for the desktop's opener (xdg-open): it notes the file and
// opens nothing.
const QByteArray kOpener = "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/../opened.txt\"\n";

// The selection of the navigation tree (the style's highlight).
bool IsHighlight(QRgb pixel)
{
    return qBlue(pixel) > 150 && qRed(pixel) < 110 && qGreen(pixel) > 90 && qGreen(pixel) < 190;
}

} // namespace

ProgramSession::ProgramSession(const XDesktop& desktop, int kind)
    : m_desktop(desktop)
{
    m_database = std::make_unique<TestDatabase>(kind, Folder());
    if (!m_database->Problem().isEmpty())
        m_strProblem = m_database->Problem();
}

ProgramSession::~ProgramSession()
{
    if (m_program.state() == QProcess::NotRunning)
        return;
    m_program.terminate();
    if (!m_program.waitForFinished(5000)) {
        m_program.kill();
        m_program.waitForFinished(2000);
    }
}

bool ProgramSession::Prepare()
{
    // The program takes the folder it lies in as its own: a link of it there
    // (a copy across file systems).
    const QString program = Folder() + QStringLiteral("tembra");
    if (::link(TEMBRA_E2E_PROGRAM, program.toLocal8Bit().constData()) != 0
        && !QFile::copy(QStringLiteral(TEMBRA_E2E_PROGRAM), program)) {
        m_strProblem = QStringLiteral("cannot put the program into ") + Folder();
        return false;
    }
    QFile settings(Folder() + QStringLiteral("cfg.ini"));
    QFile opener(Folder() + QStringLiteral("bin/xdg-open"));
    QDir().mkpath(Folder() + QStringLiteral("bin"));
    if (!settings.open(QIODevice::WriteOnly) || settings.write(m_database->Settings()) < 0
        || !opener.open(QIODevice::WriteOnly) || opener.write(kOpener) < 0) {
        m_strProblem = QStringLiteral("cannot write the settings into ") + Folder();
        return false;
    }
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return true;
}

bool ProgramSession::Start()
{
    if (!m_strProblem.isEmpty() || !Prepare())
        return false;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_desktop.Display());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // The program folder is the home too: the printer dialog offers a PDF file
    // in the working folder when that lies in the home.
    environment.insert(QStringLiteral("HOME"), Folder());
    environment.insert(QStringLiteral("PATH"), Folder() + QStringLiteral("bin:") + environment.value(QStringLiteral("PATH")));
    environment.remove(QStringLiteral("SESSION_MANAGER"));
    m_program.setProcessEnvironment(environment);
    m_program.setWorkingDirectory(Folder());
    m_program.setProcessChannelMode(QProcess::MergedChannels);
    m_program.setStandardOutputFile(Folder() + QStringLiteral("program.log"));
    m_program.start(Folder() + QStringLiteral("tembra"), {});
    if (!m_program.waitForStarted(10000)) {
        m_strProblem = QStringLiteral("the program does not start: ") + m_program.errorString();
        return false;
    }
    if (m_desktop.WaitForWindow(E2eText::LoginWindow, 20000).isEmpty()) {
        m_strProblem = QStringLiteral("no login dialog came up");
        return false;
    }
    return true;
}

bool ProgramSession::LogIn(const QString& loginId, const QString& password)
{
    const QString login = m_desktop.WaitForWindow(E2eText::LoginWindow);
    if (login.isEmpty()) {
        m_strProblem = QStringLiteral("no login dialog");
        return false;
    }
    // The dialog fills its list of ids a moment after it shows.
    XDesktop::Pause(500);
    const QStringList mainWindows = m_desktop.FindWindows(E2eText::MainWindow);
    const QRect place = m_desktop.Geometry(login);
    m_desktop.Click(place.topLeft() + QPoint(E2eText::LoginIdX, E2eText::LoginIdY));
    m_desktop.Key(QStringLiteral("ctrl+a BackSpace"));
    m_desktop.Type(loginId);
    m_desktop.Key(QStringLiteral("Tab"));
    m_desktop.Type(password);
    m_desktop.Key(QStringLiteral("Return"));
    // Another program's main window may be shown already.
    m_strMainWindow.clear();
    XDesktop::WaitUntil(
        [&] {
            for (const QString& window : m_desktop.FindWindows(E2eText::MainWindow))
                if (!mainWindows.contains(window))
                    m_strMainWindow = window;
            // A refusal comes as a box over the login dialog.
            return !m_strMainWindow.isEmpty() || !MessageBox().isEmpty();
        },
        15000);
    if (m_strMainWindow.isEmpty()) {
        m_strProblem = QStringLiteral("no main window after logging in as ") + loginId;
        return false;
    }
    m_bTreeExpanded = false;
    return true;
}

QString ProgramSession::MainWindow() const
{
    return m_strMainWindow;
}

void ProgramSession::ExpandNavigationTree()
{
    // From the last group upwards, each opened with Right: the groups above
    // stay closed until it is their turn, so Up always reaches the next one.
    int groups = 0;
    for (const QStringList& row : m_database->Rows(kMenuRows))
        groups += row.value(1) == u"0" ? 1 : 0;
    const QRect main = m_desktop.Geometry(MainWindow());
    m_desktop.Click(main.topLeft() + QPoint(E2eText::NavTreeProbeX, E2eText::NavTreeTop + 10));
    QString keys = QStringLiteral("End Right");
    for (int i = 1; i < groups; ++i)
        keys += QStringLiteral(" Up Right");
    m_desktop.Key(keys);
    m_bTreeExpanded = true;
}

int ProgramSession::TreeRow(const QString& name) const
{
    // Groups by their order, each followed by its entries.
    const QList<QStringList> rows = m_database->Rows(kMenuRows);
    QStringList shown;
    for (const QStringList& group : rows) {
        if (group.value(1) != u"0")
            continue;
        shown << group.value(2);
        for (const QStringList& entry : rows) {
            if (entry.value(1) == group.value(0))
                shown << entry.value(2);
        }
    }
    return int(shown.indexOf(name));
}

std::optional<FormWindow> ProgramSession::OpenEntry(const QString& name, int shownEntryUid)
{
    const int row = TreeRow(name);
    const int uid = shownEntryUid != 0
        ? shownEntryUid
        : m_database->Value(QStringLiteral("SELECT uid_0 FROM c_menu_dh WHERE name_0='%1'").arg(name)).toInt();
    if (row < 0 || uid == 0) {
        m_strProblem = QStringLiteral("no menu entry %1").arg(name);
        return std::nullopt;
    }
    if (!m_bTreeExpanded)
        ExpandNavigationTree();
    // Chosen by the keyboard, then double-clicked where the tree shows it
    // chosen.
    const QRect main = m_desktop.Geometry(MainWindow());
    m_desktop.Click(main.topLeft() + QPoint(E2eText::NavTreeProbeX, E2eText::NavTreeTop + 10));
    m_desktop.Key(QStringLiteral("Home") + QStringLiteral(" Down").repeated(row));
    const QImage screen = m_desktop.Grab();
    const int x = main.left() + E2eText::NavTreeProbeX;
    int first = -1, last = -1;
    for (int y = main.top() + E2eText::NavTreeTop; y < main.bottom() - 60; ++y) {
        if (IsHighlight(screen.pixel(x, y))) {
            if (first < 0)
                first = y;
            last = y;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) {
        m_strProblem = QStringLiteral("the navigation tree shows no chosen row for %1").arg(name);
        return std::nullopt;
    }
    const QStringList before = FormWindows(uid);
    m_desktop.DoubleClick(QPoint(main.left() + 100, (first + last) / 2));
    return WaitForForm(name, uid, before);
}

QString ProgramSession::TitlePattern(const E2eFormDescription& description, const QString& entry)
{
    const QString title = description.Title().isEmpty() ? entry : description.Title();
    return QStringLiteral("^") + QRegularExpression::escape(title) + u'$';
}

QStringList ProgramSession::FormWindows(int entryUid, int popupId) const
{
    E2eFormDescription description;
    description.Load(entryUid, popupId);
    return m_desktop.FindWindows(TitlePattern(description, QString()));
}

std::optional<FormWindow> ProgramSession::WaitForForm(const QString& entry, int entryUid, const QStringList& before,
                                                      int popupId)
{
    E2eFormDescription description;
    if (!description.Load(entryUid, popupId)) {
        m_strProblem = description.Problem();
        return std::nullopt;
    }
    const QString pattern = TitlePattern(description, entry);
    QString window;
    XDesktop::WaitUntil(
        [&] {
            for (const QString& candidate : m_desktop.FindWindows(pattern)) {
                if (!before.contains(candidate))
                    window = candidate;
            }
            return !window.isEmpty();
        });
    if (window.isEmpty()) {
        m_strProblem = QStringLiteral("the form %1 did not open").arg(entry);
        return std::nullopt;
    }
    XDesktop::Pause(300); // its opening actions
    return FormWindow(m_desktop, entry, window, description);
}

QString ProgramSession::MessageBox() const
{
    const QStringList forms = E2eFormDescription::AllTitles();
    for (const QString& window : m_desktop.FindWindows(E2eText::NamedWindow)) {
        // A window keeps its name: each is asked once.
        if (!m_windowNames.contains(window))
            m_windowNames.insert(window, m_desktop.WindowName(window));
        const QString name = m_windowNames.value(window);
        static const QRegularExpression shell(E2eText::LoginWindow + u'|' + E2eText::MainWindow);
        if (!name.isEmpty() && !shell.match(name).hasMatch() && !forms.contains(name))
            return window;
    }
    return QString();
}

std::optional<QString> ProgramSession::TakeMessage(bool yes, int timeoutMs)
{
    QString box;
    XDesktop::WaitUntil([&] { return !(box = MessageBox()).isEmpty(); }, timeoutMs);
    if (box.isEmpty())
        return std::nullopt;
    // Message boxes offer no copy of their text here; an action's failure
    // is in the program's log as well, which is read instead.
    // The box has the focus; a click could move it off its default button.
    m_desktop.Key(yes ? QStringLiteral("Return") : QStringLiteral("Escape"));
    m_desktop.WaitUntil([&] { return !m_desktop.VisibleWindows().contains(box); }, 3000);
    // The log entry may follow the box.
    QString logged;
    XDesktop::WaitUntil([&] { return !(logged += NewLogText()).isEmpty(); }, 1000, 100);
    return logged;
}

QString ProgramSession::NewLogText()
{
    QFile log(Folder() + QStringLiteral("log_tembra.log"));
    if (!log.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = log.readAll();
    const QByteArray added = bytes.mid(m_nLogRead);
    m_nLogRead = bytes.size();
    return FromCp936(added).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
}

QStringList ProgramSession::DismissMessages()
{
    QStringList texts;
    for (int i = 0; i < 5; ++i) {
        std::optional<QString> text = TakeMessage(false, 300);
        if (!text)
            break;
        texts << *text;
    }
    return texts;
}

QStringList ProgramSession::OpenedFiles() const
{
    QFile list(Folder() + E2eText::OpenedFilesList);
    if (!list.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(list.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString ProgramSession::Log() const
{
    QFile log(Folder() + QStringLiteral("program.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
