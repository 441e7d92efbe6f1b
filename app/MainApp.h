#pragma once

#include <QString>

// The program's start-up and shut-down. The process-wide state it fills
// lives in AppState (theApp()), where every layer reads it.
class CMainApp
{
public:
    // Checks the program folder and name, starts the start-up worker, shows
    // the login and then the main window. True after the main window has
    // closed; false on a refusal or a cancelled login.
    bool InitInstance();
    // Removes the update folder when an update was being prepared; the exit code.
    int ExitInstance();

    // Deletes the files of the program folder's "update" folder and then the
    // folder; whatever cannot be removed stays.
    static void RemoveUpdateFolder();
    // Gives every form opened from the menu trees the form builder and the
    // event machinery.
    static void SetUpForms();
    // The about box (the administrator's header button).
    static void OnAppAbout();

    // Whether a file system type names a network file system.
    static bool IsNetworkFileSystem(const QString& type);
    // The refusal message for a program file name, empty when it is accepted.
    static QString CheckProgramName(const QString& fileName);
};
