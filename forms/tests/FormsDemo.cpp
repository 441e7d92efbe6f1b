// A form with every control kind and a drawn background, opened by the real
// builder, to look at by eye (screenshots under Xvfb).
#include "D_T1.h"
#include "QvControls.h"
#include "text/AppState.h"

#include <QApplication>
#include <QFile>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    theApp().m_strUserName = QStringLiteral("张三");
    QFile file(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(":/demo/EveryControl.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    auto* form = new D_T1;
    form->SetBuilder(std::make_unique<QvControls>());
    if (!form->LoadDescription(QString::fromUtf8(file.readAll())) || !form->Create())
        return 1;
    QObject::connect(form, &QObject::destroyed, &app, &QApplication::quit);
    return app.exec();
}
