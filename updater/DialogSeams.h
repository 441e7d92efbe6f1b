#pragma once

#include "ConsoleSeams.h"

#include <QApplication>
#include <memory>

namespace updater {

// The updater's seams on a desktop: the question and the failure message are
// top-level message boxes without an owner window; programs are started as on
// the console.
class DialogSeams : public ConsoleSeams
{
public:
    bool Confirm(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
};

// The Qt application on a display the user sees, or nothing when no display can
// be opened: no X11 or Wayland display is named, or no platform plugin can
// reach it. The platform plugin of Qt ends the process when it fails, so the
// plugins are tried in order with the offscreen one last, which stands for
// "no display".
std::unique_ptr<QApplication> OpenDesktop(int& argc, char** argv);

} // namespace updater
