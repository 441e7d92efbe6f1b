#include "UpdateSeams.h"

#include "UpdateTexts.h"
#include "text/MessageSink.h"

#include <QMessageBox>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <unistd.h>

extern char** environ;

int UpdateSeams::StartUpdater(const QString& programFolder, const QString& updaterSwitch)
{
    return ::StartUpdater(programFolder, updaterSwitch);
}

void UpdateSeams::ShowMessage(const QString& text)
{
    ::ShowMessage(text);
}

bool UpdateSeams::AskYesNo(const QString& text, const QString& caption)
{
    return QMessageBox::question(nullptr, caption, text, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

int StartUpdater(const QString& programFolder, const QString& updaterSwitch)
{
    const QByteArray path = (programFolder + UpdateTexts::UpdaterName).toLocal8Bit();
    const QByteArray argument = ("-" + updaterSwitch).toLocal8Bit();
    const QByteArray folder = programFolder.toLocal8Bit();

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    if (::posix_spawn_file_actions_init(&files) != 0)
        return -1;
    if (::posix_spawnattr_init(&attributes) != 0) {
        ::posix_spawn_file_actions_destroy(&files);
        return -1;
    }
    ::posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addchdir_np(&files, folder.constData());
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    char* const arguments[] = {const_cast<char*>(path.constData()), const_cast<char*>(argument.constData()),
                               nullptr};
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, path.constData(), &files, &attributes, arguments, environ);
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&files);
    if (error != 0)
        return -1;
    // The updater waits for the user and then for this program to end; it
    // must not take the machine from the user meanwhile.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 19);
    return 1;
}
