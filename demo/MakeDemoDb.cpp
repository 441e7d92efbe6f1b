// Makes the demo database from its text sources, and the settings that point
// the program at it.
//   tembra_demo_db make SOURCE_FOLDER DATABASE_FILE
//   tembra_demo_db settings CFG_INI DATABASE_FILE   (only when CFG_INI is missing)
#include "DemoDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args.at(1) == QStringLiteral("make")) {
        QString failure;
        if (!MakeDemoSqliteFile(args.at(2), QFileInfo(args.at(3)).absoluteFilePath(), failure)) {
            std::fprintf(stderr, "tembra_demo_db: %s\n", qPrintable(failure));
            return 1;
        }
        return 0;
    }
    if (args.size() == 4 && args.at(1) == QStringLiteral("settings")) {
        QFile cfg(args.at(2));
        if (cfg.exists())
            return 0; // the user's own settings stay
        if (!cfg.open(QIODevice::WriteOnly) || cfg.write(DemoSettings(QFileInfo(args.at(3)).absoluteFilePath())) < 0) {
            std::fprintf(stderr, "tembra_demo_db: cannot write %s\n", qPrintable(args.at(2)));
            return 1;
        }
        return 0;
    }
    std::fprintf(stderr, "usage: tembra_demo_db make SOURCE_FOLDER DATABASE_FILE\n"
                         "       tembra_demo_db settings CFG_INI DATABASE_FILE\n");
    return 2;
}
