#pragma once

#include "ProgramSession.h"
#include "XDesktop.h"
#include "XDisplay.h"

#include <QImage>

#include <gtest/gtest.h>

#include <ostream>

// Texts in failure messages as text.
inline std::ostream& operator<<(std::ostream& out, const QString& text)
{
    return out << text.toStdString();
}

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

// Screen areas by their size; the failure's screenshot shows them.
inline void PrintTo(const QImage& image, std::ostream* out)
{
    *out << "image " << image.width() << 'x' << image.height();
}

#include <memory>
#include <optional>

// The run of all sessions: one display, one program start shared by the
// sessions as long as it lives (a session that ends it starts a new one for
// the next), the entry and step each session is at, and a screenshot of
// every failure.
class E2eRun
{
public:
    static E2eRun& Get();

    // A window manager named (openbox) runs on the display, as on a desktop.
    void Configure(int kind, const QString& screenshotFolder, const QString& windowManager);
    int Kind() const { return m_nKind; }
    QString Problem() const { return m_strProblem; }
    const XDesktop& Desktop() const { return *m_desktop; }

    // The running program, logged in as the administrator; started (again)
    // when there is none. Null, with Problem(), when it cannot start.
    ProgramSession* Program();
    // Ends the program, so that the next session starts a fresh one.
    void EndProgram();

    void SetStep(const QString& entry, const QString& step);
    QString Where() const;
    // Called for each failure: keeps a screenshot and says where it was.
    void RecordFailure(const QString& testName);
    void TearDown();

private:
    int m_nKind = 2;
    QString m_strScreenshots;
    QString m_strWindowManager;
    QString m_strProblem;
    QString m_strEntry;
    QString m_strStep;
    int m_nFailures = 0;
    std::unique_ptr<XDisplay> m_display;
    std::unique_ptr<XDesktop> m_desktop;
    std::unique_ptr<ProgramSession> m_program;
};

// The base of the sessions: opens demo entries and names the steps.
class DemoSession : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    ProgramSession& Program() { return *m_program; }
    const TestDatabase& Db() { return m_program->Database(); }
    const XDesktop& Desktop() { return m_program->Desktop(); }

    // Names the step for the failures that follow.
    void Step(const QString& step);
    // Opens the entry from the navigation tree; a failed test when it does not open.
    std::optional<FormWindow> Open(const QString& entry);
    // Expects a message box now and returns its text (answered Yes/OK).
    QString ExpectMessage(bool yes = true);
    // Expects no message box within a short time.
    void ExpectNoMessage();

    QString m_strEntry;

private:
    ProgramSession* m_program = nullptr;
};
