// The end-to-end sessions: the built program under Xvfb on a fresh demo
// database, driven with real input.
//   tembra_e2e_sessions --kind=2|3 --screenshots=FOLDER [--window-manager=openbox]
//                       [GoogleTest options]
#include "E2eRun.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

// Keeps a screenshot of the screen at each failure and names where it was.
class FailureShots : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        m_strTest = QStringLiteral("%1.%2").arg(test.test_suite_name(), test.name());
    }

    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.failed())
            E2eRun::Get().RecordFailure(m_strTest);
    }

    QString m_strTest = QStringLiteral("run");
};

class ProgramEnvironment : public ::testing::Environment
{
    void TearDown() override { E2eRun::Get().TearDown(); }
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int kind = 2;
    QString screenshots = QStringLiteral("e2e-failures");
    QString windowManager;
    for (const QString& argument : QCoreApplication::arguments()) {
        if (argument.startsWith(QStringLiteral("--kind=")))
            kind = argument.mid(7).toInt();
        else if (argument.startsWith(QStringLiteral("--screenshots=")))
            screenshots = argument.mid(14);
        else if (argument.startsWith(QStringLiteral("--window-manager=")))
            windowManager = argument.mid(17);
    }
    E2eRun::Get().Configure(kind, screenshots, windowManager);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FailureShots);
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);
    return RUN_ALL_TESTS();
}
