#include "ConsoleSeams.h"
#include "Processes.h"
#include "Updater.h"

// The updater `up`: with any argument it replaces the main program of its own
// folder by the downloaded one; without one it only starts the main program.
int main(int argc, char**)
{
    updater::ConsoleSeams seams;
    return updater::RunUpdater(argc - 1, updater::GetModuleFolder(), seams);
}
