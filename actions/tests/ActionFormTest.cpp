#include "ActionFormTest.h"

#include "ActionDispatcher.h"
#include "DemoDatabase.h"
#include "FormEventRunner.h"
#include "FormWindowActions.h"
#include "QvControls.h"
#include "RegisterFormActions.h"
#include "db/DbSchema.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"

#include <QFile>

void ActionFormTest::SetUp()
{
    m_saved = theApp();
    // Failed events write the log file there; test programs run side by side
    // must not share one.
    SetModuleFolderOverride(m_programFolder.path());
    m_previousSink = SetMessageSink([this](const QString& text) { m_messages << text; });
    m_previousQuestions = SetQuestionSink([this](const QString& text, const QString&) {
        m_questions << text;
        return m_answer;
    });
    m_database = std::make_unique<DbTestDatabase>(GetParam());
    ASSERT_FALSE(m_database->ConnectText().isEmpty()) << m_database->Problem().toStdString();
    m_db.SetConnectString(m_database->ConnectText());
    ASSERT_TRUE(m_db.Connect()) << m_db.m_strErrorInfo.toStdString();
    ASSERT_TRUE(m_db.ExecuteScript(DbSchemaScript(GetParam()))) << m_db.m_strErrorInfo.toStdString();
    Exec("INSERT INTO c_user(id_0,name_0,user_group_uid_0) VALUES('clerk','Clerk',5)");
    theApp().m_strConnectText = ScrambleText(m_database->ConnectText(), 1);
    theApp().m_strDbType = QString::number(GetParam());
    theApp().m_strUserUid = "1";
    theApp().m_strUserId = "clerk";

    CActionDispatcher::Instance().Clear();
    RegisterFormWindowActions();
    RegisterFormActions();
}

void ActionFormTest::TearDown()
{
    delete m_form.data();
    CActionDispatcher::Instance().Clear();
    m_db.Close();
    SetMessageSink(m_previousSink);
    SetQuestionSink(m_previousQuestions);
    theApp() = m_saved;
    SetModuleFolderOverride(QString());
}

QString ActionFormTest::KeyColumn() const
{
    return GetParam() == 3 ? "SERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT";
}

QString ActionFormTest::BlobType() const
{
    return GetParam() == 3 ? "BYTEA" : "BLOB";
}

void ActionFormTest::Exec(const QString& sql)
{
    ASSERT_TRUE(m_db.ExecuteCommand(sql)) << sql.toStdString() << ": " << m_db.m_strErrorInfo.toStdString();
}

QString ActionFormTest::Value(const QString& sql)
{
    QString value = "<none>";
    m_db.QueryValue(sql, value);
    return value;
}

QString ActionFormTest::Rows(const QString& sql)
{
    QStringList values;
    m_db.QueryAllToList(sql, values);
    return values.join('|');
}

D_T1* ActionFormTest::Open(const QString& dialog)
{
    return OpenDescription("<html id='0'><head title='t' pos='0,0,640,480'/><body><dialog>" + dialog
                           + "</dialog></body></html>");
}

D_T1* ActionFormTest::OpenDescription(const QString& description)
{
    delete m_form.data();
    auto* form = new D_T1;
    m_form = form;
    form->SetBuilder(std::make_unique<QvControls>());
    form->SetEvents(std::make_unique<CFormEventRunner>());
    form->m_strMenuUid = "7";
    form->m_strMenuName = "测试";
    EXPECT_TRUE(form->LoadDescription(description));
    EXPECT_TRUE(form->Create());
    return form;
}

D_T1* ActionFormTest::OpenDemoForm(const QString& fileName)
{
    QFile file(DemoSourceFolder() + QStringLiteral("/forms/") + fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << fileName.toStdString();
    return OpenDescription(QString::fromUtf8(file.readAll()));
}

void ActionFormTest::Fire(int id, const QString& event)
{
    m_form->FireEvent(id + D_T1::ControlIdBase, event);
}

QWidget* ActionFormTest::Control(int id) const
{
    return m_form->GetDlgItem(id + D_T1::ControlIdBase);
}
