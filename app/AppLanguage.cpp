#include "AppLanguage.h"
#include "LanguageTexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

namespace {

const char* const kTimeVariable = "LC_TIME";

// The few texts Qt's own Chinese translation lacks; asked after it.
class CFileKindTranslator : public QTranslator
{
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, LanguageText::FileKindContext) != 0)
            return {};
        const QString source = QString::fromLatin1(sourceText);
        for (const auto& [english, chinese] : LanguageText::FileKinds) {
            if (english == source)
                return chinese;
        }
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

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
    QCoreApplication::installTranslator(new CFileKindTranslator(&app));
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
