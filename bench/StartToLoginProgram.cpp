// The program's own start, ended as soon as the login dialog is on the
// screen: what the start-to-login benchmark times as a whole process. It is
// copied under the name "tembra" beside a demo database, as the start checks.
#include "Dialog_Login.h"
#include "MainApp.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

class LoginShownStopper : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* login = qobject_cast<Dialog_Login*>(watched))
                QTimer::singleShot(0, login, &QDialog::reject);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    LoginShownStopper stopper;
    app.installEventFilter(&stopper);
    CMainApp mainApp;
    mainApp.InitInstance();
    const int code = mainApp.ExitInstance();
    std::fflush(nullptr);
    std::_Exit(code); // the start-up worker is cut off, as at a real exit
}
