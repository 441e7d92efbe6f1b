#include "AppLanguage.h"
#include "MainApp.h"
#include "ShellThreads.h"
#include "StartSignal.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // Before any thread or program is started, none of which may keep it.
    updater::TakeStartSignal();
    CChineseLocale chinese;
    QApplication app(argc, argv);
    chinese.Apply(app);
    CMainApp mainApp;
    mainApp.InitInstance();
    const int code = mainApp.ExitInstance();
    // A worker still at work is cut off with the process, as nobody waits
    // for it; tearing the program down around it is not safe.
    if (ShellThreadsRunning()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
