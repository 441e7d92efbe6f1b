#include "AppLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

namespace {
const char* const kTimeVariable = "LC_TIME";
}

CChineseLocale::CChineseLocale()
    : m_bHadTime(qEnvironmentVariableIsSet(kTimeVariable)), m_time(qgetenv(kTimeVariable))
{
    qputenv(kTimeVariable, "zh_CN.UTF-8");
}

bool CChineseLocale::Apply(QCoreApplication& app)
{
    if (m_bHadTime)
        qputenv(kTimeVariable, m_time);
    else
        qunsetenv(kTimeVariable);
    std::setlocale(LC_ALL, "");

    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Owned by the application: a translator must outlive every widget.
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
