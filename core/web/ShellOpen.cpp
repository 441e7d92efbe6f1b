#include "web/ShellOpen.h"

#include "text/AppState.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

const QString kHelpPage = QStringLiteral("http://" TEMBRA_HELP_HOST "/help/help.aspx?s=%1&appid=");

ShellOpener& TestOpener()
{
    static ShellOpener opener;
    return opener;
}

} // namespace

bool OpenWithShell(const QString& target)
{
    const QUrl url = target.contains(QLatin1String("://"))
        ? QUrl(target, QUrl::TolerantMode)
        : QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    if (TestOpener())
        return TestOpener()(url);
    return QDesktopServices::openUrl(url);
}

bool OpenHelpPage(const QString& pageKey)
{
    return OpenWithShell(kHelpPage.arg(pageKey) + theApp().m_strAppId);
}

void SetShellOpenerForTests(ShellOpener opener)
{
    TestOpener() = std::move(opener);
}
