// The reference of the start-to-login benchmark: a Qt program that shows one
// dialog and ends once it is on the screen.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>

namespace {

class ShownStopper : public QObject
{
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched))
                QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ShownStopper stopper;
    app.installEventFilter(&stopper);
    QDialog dialog;
    dialog.resize(419, 224);
    dialog.exec();
    return 0;
}
