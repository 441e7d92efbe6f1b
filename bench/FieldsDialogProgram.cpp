// The second reference of the start-to-login benchmark: a Qt program that
// shows one dialog with the kinds of controls the login window has, at their
// places (an editable list, a password field, two labels and four buttons
// with Chinese captions), until the benchmark ends it. Beside the empty
// dialog it shows what such controls cost a plain Qt program before the
// window can be mapped: above all the font system, which a text field needs
// as it is made.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog(nullptr, Qt::FramelessWindowHint);
    dialog.setWindowTitle(QStringLiteral("Tembra软件"));
    dialog.setFixedSize(419, 224);
    auto* loginId = new QComboBox(&dialog);
    loginId->setEditable(true);
    loginId->setGeometry(130, 98, 220, 21);
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    password->setGeometry(130, 125, 220, 21);
    (new QLabel(QStringLiteral("用户名:"), &dialog))->setGeometry(60, 98, 66, 21);
    (new QLabel(QStringLiteral("密  码:"), &dialog))->setGeometry(60, 125, 66, 21);
    const std::pair<QString, QRect> buttons[] = {
        {QStringLiteral("设 置"), QRect(15, 180, 80, 38)},
        {QStringLiteral("帮 助"), QRect(165, 180, 80, 38)},
        {QStringLiteral("登 录"), QRect(310, 180, 80, 38)},
        {QString(), QRect(377, 2, 40, 32)},
    };
    for (const auto& [caption, rect] : buttons)
        (new QPushButton(caption, &dialog))->setGeometry(rect);
    return dialog.exec();
}
