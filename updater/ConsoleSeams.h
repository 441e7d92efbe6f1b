#pragma once

#include "Updater.h"

namespace updater {

// The updater's real seams for a console program on Linux.
//
// The question is asked on the terminal when standard input is one. When it is
// not, there is nobody to ask there: the main program starts the updater
// without a terminal once it has downloaded an update, and a graphical prompt
// would need a toolkit (or zenity/kdialog, which may be missing). The update
// then goes ahead as if Yes were answered, since the main program asked for it.
// Messages go to standard error. Programs are started in a session of their
// own, so they outlive the updater.
class ConsoleSeams : public UpdaterSeams
{
public:
    bool Confirm(const std::string& text, const std::string& caption) override;
    void ShowMessage(const std::string& text) override;
    void StartProgram(const std::string& path) override;
};

} // namespace updater
