#include "MainApp.h"

#include "D_T1.h"
#include "FormEventRunner.h"
#include "FormWindowActions.h"
#include "RegisterFormActions.h"
#include "QvControls.h"
#include "StoredFormOpener.h"

#include "AboutDlg.h"
#include "AppTexts.h"
#include "Dialog_Login.h"
#include "QvimsDlg.h"
#include "ShellPictures.h"
#include "ShellUpdateSeams.h"
#include "ShellThreads.h"
#include "StartSignal.h"
#include "StartupWorker.h"
#include "text/AppState.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "web/ModuleVersion.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <clocale>

bool CMainApp::IsNetworkFileSystem(const QString& type)
{
    static const QStringList networkTypes = {
        QStringLiteral("nfs"),   QStringLiteral("nfs4"),  QStringLiteral("cifs"),
        QStringLiteral("smb"),   QStringLiteral("smb2"),  QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("sshfs"), QStringLiteral("fuse.sshfs"),
        QStringLiteral("afs"),   QStringLiteral("ncpfs"), QStringLiteral("9p"),
        QStringLiteral("davfs"), QStringLiteral("fuse.davfs2"), QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("fuse.glusterfs"),
    };
    return networkTypes.contains(type.toLower());
}

QString CMainApp::CheckProgramName(const QString& fileName)
{
    if (fileName == AppText::ProgramName || fileName == AppText::ProgramNameCapital)
        return QString();
    return AppText::WrongName.arg(fileName);
}

bool CMainApp::InitInstance()
{
    // The program works in Chinese; the numeric rules stay those of "C".
    std::setlocale(LC_ALL, "zh_CN.UTF-8");
    std::setlocale(LC_NUMERIC, "C");

    AppState& app = theApp();
    const QString folder = GetModuleFolder();
    app.m_strVersion = GetFileVersionText(QString());
    QDir::setCurrent(folder);
    QApplication::setWindowIcon(ShellPictures::AppIcon());

    if (IsNetworkFileSystem(QString::fromUtf8(QStorageInfo(folder).fileSystemType()))) {
        ShowMessage(AppText::NetworkDrive);
        return false;
    }
    const QString refusal = CheckProgramName(QFileInfo(GetModulePath()).fileName());
    if (!refusal.isEmpty()) {
        ShowMessage(refusal);
        return false;
    }

    SetUpForms();
    Dialog_Login login;
    // Once the login is on the screen: `up`, when it started this program
    // after an update, learns that it has come up; the worker, which nothing
    // waits for, loads its drivers without slowing the login's coming up.
    QObject::connect(&login, &Dialog_Login::FirstPainted, [folder] {
        updater::SendStartSignal();
        StartShellThread(new CStartupWorker(folder, GetModulePath()));
    });
    if (login.exec() != QDialog::Accepted)
        return false;
    QApplication::setOrganizationName(AppText::RegistryKey);

    CQvimsDlg mainWindow;
    D_T1::SetMainWindow(&mainWindow);
    // The forms it opens are windows of their own that take input beside it:
    // modal only to its (absent) parent, the main window blocks none of them.
    mainWindow.setWindowModality(Qt::WindowModal);
    mainWindow.exec();
    return true;
}

int CMainApp::ExitInstance()
{
    if (theApp().m_bUpdating)
        RemoveUpdateFolder();
    return 0;
}

void CMainApp::RemoveUpdateFolder()
{
    RemoveUpdateFolderOf(GetModuleFolder());
}

void CMainApp::SetUpForms()
{
    RegisterFormWindowActions();
    RegisterFormActions();
    SetStoredFormSetUp([](D_T1& form) {
        form.SetBuilder(std::make_unique<QvControls>());
        form.SetEvents(std::make_unique<CFormEventRunner>());
    });
}

void CMainApp::OnAppAbout()
{
    CAboutDlg about;
    about.exec();
}
