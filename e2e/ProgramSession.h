#pragma once

#include "FormWindow.h"
#include "TestDatabase.h"
#include "XDesktop.h"

#include <QHash>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// One start of the built program in a folder of its own (the program, a
// cfg.ini and the database), on the given display: log in through the login
// dialog, open menu entries from the navigation tree, answer message boxes,
// and read the database it works on.
class ProgramSession
{
public:
    ProgramSession(const XDesktop& desktop, int kind);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    QString Problem() const { return m_strProblem; }
    bool IsRunning() const { return m_program.state() == QProcess::Running; }
    const TestDatabase& Database() const { return *m_database; }
    const XDesktop& Desktop() const { return m_desktop; }
    // The program folder (ends in "/").
    QString Folder() const { return m_folder.path() + u'/'; }

    bool Start();
    // Logs in through the login dialog; false (and the reason in Problem())
    // when the main window did not come.
    bool LogIn(const QString& loginId, const QString& password);
    // Double-clicks the entry in the navigation tree and waits for its form
    // (or for the form of the entry it redirects to, given by its uid).
    std::optional<FormWindow> OpenEntry(const QString& name, int shownEntryUid = 0);
    // The windows of the entry's form (or of the popup form it holds with
    // that id) shown now, to tell a new one from them.
    QStringList FormWindows(int entryUid, int popupId = 0) const;
    // Waits for a window of the entry's form (or popup form) that is not
    // among those shown before: a popup, a picker, the entry opened again.
    std::optional<FormWindow> WaitForForm(const QString& entry, int entryUid, const QStringList& before,
                                          int popupId = 0);

    // Waits for a message box or question and closes it with Return (Yes/OK)
    // or Escape (No); returns what the program added to its log meanwhile
    // (an action's failure text), empty for a plain message.
    std::optional<QString> TakeMessage(bool yes = true, int timeoutMs = 5000);
    // A message box still open is a failure of its own: closes any and says so.
    QStringList DismissMessages();

    // The files the desktop's opener was asked to open.
    QStringList OpenedFiles() const;
    QString Log() const;
    // What the program appended to its log file (log_tembra.log) since the
    // last look.
    QString NewLogText();

private:
    bool Prepare();
    void ExpandNavigationTree();
    int TreeRow(const QString& name) const;
    QString MainWindow() const;
    // A shown window that is neither the main window nor a demo form.
    QString MessageBox() const;
    static QString TitlePattern(const E2eFormDescription& description, const QString& entry);

    const XDesktop& m_desktop;
    QTemporaryDir m_folder;
    std::unique_ptr<TestDatabase> m_database;
    QProcess m_program;
    QString m_strProblem;
    QString m_strMainWindow;
    bool m_bTreeExpanded = false;
    qsizetype m_nLogRead = 0;
    mutable QHash<QString, QString> m_windowNames;
};
