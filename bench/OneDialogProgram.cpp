// The reference of the start-to-login benchmark: a Qt program that shows one
// dialog of the login window's size, until the benchmark ends it.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(419, 224);
    return dialog.exec();
}
