#pragma once

#include <QString>

// What the update stages ask of the program around them; tests put in their own.
class UpdateSeams
{
public:
    virtual ~UpdateSeams() = default;

    // Starts `up` of the program folder with "-" and the switch, detached from
    // this program: 1 when it was started, -1 when it could not be.
    virtual int StartUpdater(const QString& programFolder, const QString& updaterSwitch);
    // The program's message box.
    virtual void ShowMessage(const QString& text);
    // A question with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& text, const QString& caption);
    // Empties the update folder of the program folder and removes it.
    virtual void RemoveUpdateFolder() = 0;
    // What the stages learn on the way, told as soon as they learn it: the
    // update service's host, and that update files are in the update folder.
    virtual void NoteServiceHost(const QString& /*host*/) {}
    virtual void NoteUpdating() {}
};

// Starts `up` in programFolder (which ends in "/") with the argument "-" +
// updaterSwitch, in the program folder as its current folder, in a session of
// its own so that it outlives this program, with standard input from
// /dev/null and at the lowest priority. 1 started, -1 not.
int StartUpdater(const QString& programFolder, const QString& updaterSwitch);
