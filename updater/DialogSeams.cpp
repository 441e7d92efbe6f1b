#include "DialogSeams.h"

#include "UpdaterTexts.h"

#include <QMessageBox>

namespace updater {

namespace {

constexpr const char* kPlatformVariable = "QT_QPA_PLATFORM";
constexpr const char* kNoDisplayPlatform = "offscreen";

bool DisplayNamed()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The platforms to try: the one asked for, else the session's own.
QByteArray PlatformsToTry()
{
    QByteArray platforms = qgetenv(kPlatformVariable);
    if (platforms.isEmpty())
        platforms = qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ? "xcb" : "wayland;xcb";
    return platforms + ';' + kNoDisplayPlatform;
}

bool SeesNoDisplay(const QString& platform)
{
    return platform == QLatin1String(kNoDisplayPlatform) || platform == QLatin1String("minimal");
}

} // namespace

bool DialogSeams::Confirm(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void DialogSeams::ShowMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kMessageCaption), QString::fromStdString(text), QMessageBox::Ok);
    box.exec();
}

std::unique_ptr<QApplication> OpenDesktop(int& argc, char** argv)
{
    if (!DisplayNamed())
        return nullptr;
    qputenv(kPlatformVariable, PlatformsToTry());
    auto application = std::make_unique<QApplication>(argc, argv);
    if (SeesNoDisplay(QGuiApplication::platformName()))
        return nullptr;
    return application;
}

} // namespace updater
