#include "UpdateCheck.h"

#include "ProgramFiles.h"
#include "UpdateSeams.h"
#include "UpdateTexts.h"
#include "web/FileHelpers.h"
#include "web/HttpClient.h"
#include "web/UrlCoding.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

QString ZeroWhenEmpty(const QString& count)
{
    return count.isEmpty() ? QStringLiteral("0") : count;
}

// Each "%s" of the format in turn replaced by the next value.
QString FillInOrder(const QString& format, const QStringList& values)
{
    const QStringList pieces = format.split(QStringLiteral("%s"));
    QString text = pieces.first();
    for (qsizetype i = 1; i < pieces.size(); ++i)
        text += values.value(i - 1) + pieces[i];
    return text;
}

// Downloads a program to `path` through a file of its own beside it: only a
// complete download that is a program replaces it, as an executable.
bool DownloadProgramTo(const QString& url, const QString& path)
{
    const QString partial = path + QStringLiteral(".part");
    if (!DownloadToFile(url, partial))
        return false;
    if (!IsProgramFile(partial) || !MakeExecutable(partial)) {
        QFile::remove(partial);
        return false;
    }
    // rename() replaces the target at once, also while a program runs from it.
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

} // namespace

QString ServiceReply(const QString& url)
{
    const QString reply = HttpGetString(url);
    return reply.size() > UpdateTexts::MaxReplyLength ? QString() : reply;
}

CUpdateCheck::CUpdateCheck(const UpdateInstallation& installation, UpdateSeams& seams)
    : m_installation(installation), m_seams(seams)
{
}

QStringList CUpdateCheck::DefaultLookupUrls()
{
    return QString::fromUtf8(TEMBRA_SERVICE_LOOKUP_URLS).split(u' ', Qt::SkipEmptyParts);
}

QString CUpdateCheck::FindServiceHost(const QStringList& lookupUrls)
{
    for (const QString& url : lookupUrls) {
        QString host = ServiceReply(url);
        host.remove(UpdateTexts::ReplyLineEnd);
        if (!host.isEmpty())
            return host;
    }
    return QString();
}

QString CUpdateCheck::VersionRequestUrl(const QString& serviceHost) const
{
    QString company = UrlEncode(m_installation.company);
    if (company.size() < UpdateTexts::MinCompanyLength)
        company = UpdateTexts::CompanyPlaceholder;
    return FillInOrder(UpdateTexts::VersionRequest,
                       {serviceHost, m_installation.runningVersion, m_installation.menuVersion,
                        ZeroWhenEmpty(m_installation.materialRows), ZeroWhenEmpty(m_installation.stockRows),
                        m_installation.macAddress, UrlEncode(m_installation.hostName), m_installation.ipAddress,
                        m_installation.dbType, company, m_installation.appId});
}

UpdateCheckResult CUpdateCheck::Run(const QString& serviceHost)
{
    UpdateCheckResult result;
    result.serviceHost = serviceHost;
    result.serviceHost.remove(UpdateTexts::ReplyLineEnd);
    if (result.serviceHost.isEmpty())
        return result;

    result.programVersion = ServiceReply(VersionRequestUrl(result.serviceHost));
    const bool outdated = !result.programVersion.isEmpty()
        && CompareVersions(result.programVersion, m_installation.runningVersion) > 0;
    if (outdated)
        RefreshUpdater(result.serviceHost);
    result.menuVersion = ServiceReply(
        UpdateTexts::MenuVersionRequest.arg(result.serviceHost, m_installation.dbType, m_installation.appId));
    if (outdated)
        result.updaterStarted = DownloadProgram(result.serviceHost, result.programVersion);
    return result;
}

// Fetched with every program update, so that `up` is as current as the
// program it installs; a failed or damaged download keeps the `up` there is.
void CUpdateCheck::RefreshUpdater(const QString& serviceHost)
{
    DownloadProgramTo(UpdateTexts::UpdaterDownload.arg(serviceHost),
                      m_installation.programFolder + UpdateTexts::UpdaterName);
}

bool CUpdateCheck::DownloadProgram(const QString& serviceHost, const QString& version)
{
    const UpdateMarker marker(m_installation.programFolder);
    if (!marker.MayInstall(version, m_installation.programPath))
        return false;
    QDir().mkpath(m_installation.UpdateFolder());
    const QString program = m_installation.UpdateFolder() + UpdateTexts::ProgramName;
    if (!DownloadProgramTo(UpdateTexts::ProgramDownload.arg(serviceHost), program))
        return false;
    marker.Note(version, program);
    return m_seams.StartUpdater(m_installation.programFolder, UpdateTexts::UpdaterSwitch) > 0;
}
