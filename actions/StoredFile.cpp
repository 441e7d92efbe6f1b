#include "StoredFile.h"

#include "FileTexts.h"
#include "text/ModuleFolder.h"
#include "web/FileHelpers.h"

#include <QDir>

bool WriteStoredFile(const QString& folder, const QString& storedName, const QByteArray& bytes,
                     QString& path, QString& error)
{
    // Names stored from Windows may carry its folder separators too.
    QString name = storedName;
    name.replace(u'\\', u'/');
    name = name.mid(name.lastIndexOf(u'/') + 1);
    if (name.isEmpty() || name == u"." || name == u"..") {
        error = FileTexts::BadFileName.arg(storedName);
        return false;
    }
    const QString dir = GetModuleFolder() + folder;
    QDir().mkpath(dir);
    path = dir + u'/' + name;
    try {
        WriteWholeFile(path, bytes);
    } catch (const FileException& e) {
        error = FileTexts::WriteFailed.arg(path, e.Reason());
        return false;
    }
    return true;
}
