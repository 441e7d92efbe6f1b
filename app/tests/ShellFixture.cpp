#include "ShellFixture.h"

#include "DemoDatabase.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"

ShellFixture::ShellFixture(int kind)
    : m_database(std::make_unique<DbTestDatabase>(kind)), m_savedState(theApp())
{
    theApp() = AppState();
    SetModuleFolderOverride(m_folder.path());
    SetMessageSink([this](const QString& text) { m_messages << text; });
    SetQuestionSink([this](const QString& text, const QString& caption) {
        m_questions << caption + u'|' + text;
        return m_answer;
    });
    if (m_database->ConnectText().isEmpty()) {
        m_strProblem = m_database->Problem();
        return;
    }
    m_db.SetConnectString(m_database->ConnectText());
    if (!m_db.Connect() || !LoadDemoData(m_db, kind, DemoSourceFolder(), m_strProblem)) {
        if (m_strProblem.isEmpty())
            m_strProblem = m_db.m_strErrorInfo;
        return;
    }
    WriteSettings(kind, m_database->ConnectText());
    // A PostgreSQL text may not survive a cfg.ini line; the program prefers
    // this stored copy anyway.
    theApp().m_strConnectText = ScrambleText(m_database->ConnectText(), 1);
}

ShellFixture::~ShellFixture()
{
    m_db.Close();
    SetMessageSink({});
    SetQuestionSink({});
    SetModuleFolderOverride(QString());
    theApp() = m_savedState;
}

void ShellFixture::WriteSettings(int kind, const QString& connectText)
{
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("DTYPE"), QString::number(kind));
    WriteIniString(QStringLiteral("cfg.ini"), QStringLiteral("SERVER"), QStringLiteral("NAME"),
                   ScrambleText(connectText, 1));
}

QString ShellFixture::Value(const QString& sql)
{
    QString value = QStringLiteral("<none>");
    if (!m_db.IsOpen())
        m_db.Connect();
    m_db.QueryValue(sql, value);
    return value;
}

int ShellFixture::Count(const QString& sql)
{
    return Value(sql).toInt();
}
