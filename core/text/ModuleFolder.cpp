#include "text/ModuleFolder.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace {

QMutex overrideMutex;
QString folderOverride;

} // namespace

QString GetModulePath()
{
    // /proc/self/exe is the executable itself, links resolved.
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

QString GetModuleFolder()
{
    {
        QMutexLocker lock(&overrideMutex);
        if (!folderOverride.isEmpty())
            return folderOverride;
    }
    const QString path = GetModulePath();
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

void SetModuleFolderOverride(const QString& folder)
{
    QMutexLocker lock(&overrideMutex);
    folderOverride = folder;
    if (!folderOverride.isEmpty() && !folderOverride.endsWith(u'/'))
        folderOverride += u'/';
}
