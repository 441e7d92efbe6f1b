#include "E2eRun.h"

#include "E2eTexts.h"

#include <QDir>

#include <cstdio>

E2eRun& E2eRun::Get()
{
    static E2eRun run;
    return run;
}

void E2eRun::Configure(int kind, const QString& screenshotFolder, const QString& windowManager)
{
    m_nKind = kind;
    m_strScreenshots = screenshotFolder;
    m_strWindowManager = windowManager;
    QDir().mkpath(m_strScreenshots);
}

ProgramSession* E2eRun::Program()
{
    if (m_program && m_program->IsRunning())
        return m_program.get();
    m_program.reset();
    if (!m_display) {
        m_display = std::make_unique<XDisplay>(m_strWindowManager);
        if (!m_display->IsRunning()) {
            m_strProblem = m_display->Problem();
            return nullptr;
        }
        m_desktop = std::make_unique<XDesktop>(m_display->Name(), m_display->WindowManagerWindow());
    }
    auto program = std::make_unique<ProgramSession>(*m_desktop, m_nKind);
    if (!program->Start() || !program->LogIn(E2eText::Administrator, E2eText::DemoPassword)) {
        m_strProblem = program->Problem();
        return nullptr;
    }
    m_program = std::move(program);
    return m_program.get();
}

void E2eRun::EndProgram()
{
    m_program.reset();
}

void E2eRun::SetStep(const QString& entry, const QString& step)
{
    m_strEntry = entry;
    m_strStep = step;
}

QString E2eRun::Where() const
{
    return m_strEntry + QStringLiteral(" / ") + m_strStep;
}

void E2eRun::RecordFailure(const QString& testName)
{
    QString shot;
    if (m_desktop) {
        shot = QStringLiteral("%1/%2-%3.png").arg(m_strScreenshots, testName).arg(++m_nFailures);
        if (!m_desktop->Screenshot(shot))
            shot = QStringLiteral("(none)");
    }
    std::printf("    at %s, screenshot %s\n", qPrintable(Where()), qPrintable(shot));
    std::fflush(stdout);
}

void E2eRun::TearDown()
{
    m_program.reset();
    m_desktop.reset();
    m_display.reset();
}

void DemoSession::SetUp()
{
    m_program = E2eRun::Get().Program();
    if (!m_program)
        FAIL() << "the program does not run: " << qPrintable(E2eRun::Get().Problem());
    m_program->NewLogText(); // what earlier sessions logged is theirs
}

void DemoSession::TearDown()
{
    if (!m_program || !m_program->IsRunning())
        return;
    // A box left open would take the next session's input.
    const QStringList left = m_program->DismissMessages();
    EXPECT_TRUE(left.isEmpty()) << "message boxes left open: " << qPrintable(left.join(u'|'));
}

void DemoSession::Step(const QString& step)
{
    E2eRun::Get().SetStep(m_strEntry, step);
}

std::optional<FormWindow> DemoSession::Open(const QString& entry)
{
    m_strEntry = entry;
    Step(QStringLiteral("open from the navigation tree"));
    std::optional<FormWindow> form = m_program->OpenEntry(entry);
    EXPECT_TRUE(form.has_value()) << qPrintable(m_program->Problem());
    return form;
}

QString DemoSession::ExpectMessage(bool yes)
{
    const std::optional<QString> text = m_program->TakeMessage(yes);
    EXPECT_TRUE(text.has_value()) << "no message box came";
    return text.value_or(QString());
}

void DemoSession::ExpectNoMessage()
{
    const std::optional<QString> text = m_program->TakeMessage(true, 1000);
    EXPECT_FALSE(text.has_value()) << "unexpected message: " << qPrintable(text.value_or(QString()));
}
