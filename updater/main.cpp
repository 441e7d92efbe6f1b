#include "ConsoleSeams.h"
#include "DialogSeams.h"
#include "Processes.h"
#include "Updater.h"

// The updater `up`: with any argument it replaces the main program of its own
// folder by the downloaded one; without one it only starts the main program.
// It asks in a dialog when a display can be opened, else on the terminal.
int main(int argc, char** argv)
{
    // Counted before Qt takes its own options out of the list.
    const int argumentCount = argc - 1;
    const std::string folder = updater::GetModuleFolder();
    if (const auto desktop = updater::OpenDesktop(argc, argv)) {
        updater::DialogSeams seams;
        return updater::RunUpdater(argumentCount, folder, seams);
    }
    updater::ConsoleSeams seams;
    return updater::RunUpdater(argumentCount, folder, seams);
}
