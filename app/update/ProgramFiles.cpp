#include "ProgramFiles.h"

#include "ProgramImage.h"
#include "UpdateTexts.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>

namespace {

QByteArray FileDigest(const QString& path)
{
    QFile file(path);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !digest.addData(&file))
        return QByteArray();
    return digest.result().toHex();
}

} // namespace

bool IsProgramImage(const QByteArray& bytes)
{
    return updater::IsProgramImage(bytes.toStdString());
}

bool IsProgramFile(const QString& path)
{
    return updater::IsProgramFile(QFile::encodeName(path).toStdString());
}

bool MakeExecutable(const QString& path)
{
    return QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                           | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                           | QFileDevice::ReadOther | QFileDevice::ExeOther);
}

UpdateMarker::UpdateMarker(const QString& programFolder)
    : m_strPath(programFolder + UpdateTexts::UpdateMarkerName)
{
}

bool UpdateMarker::MayInstall(const QString& version, const QString& runningProgram) const
{
    QFile file(m_strPath);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QList<QByteArray> lines = file.readAll().split('\n');
    return lines.size() < 2 || QString::fromUtf8(lines[0]) != version
        || lines[1] != FileDigest(runningProgram);
}

void UpdateMarker::Note(const QString& version, const QString& handedOverProgram) const
{
    QSaveFile file(m_strPath);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(version.toUtf8() + '\n' + FileDigest(handedOverProgram));
        file.commit();
    }
}
