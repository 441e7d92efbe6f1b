#pragma once

#include "FormEvents.h"

#include <QString>

class CXmlNodes;

// The event machinery of a form window: the form-open step (opening lists,
// open log, button rights of the user's group, the head's INIT actions) and
// the events of its controls (find the ACTION, open a transaction, check the
// right, log the use, run the list through the dispatcher, commit, or roll
// back and give the touched grid rows their states back).
//
// Everything runs on the GUI thread. The form's life only guards against
// re-entry there: while an event shows a message box, other events of the
// same form are dropped.
class CFormEventRunner : public IFormEvents
{
public:
    void OnFormOpen(D_T1& form) override;
    void FireEvent(D_T1& form, int windowId, const QString& event) override;
    bool RunEventActions(D_T1& form, int windowId, const QString& event) override;
    bool HasEventAction(D_T1& form, int windowId, const QString& event) override;
    int GetChangeTriggerLength(D_T1& form, int windowId, const QString& event) override;
    bool FireEndEdit(D_T1& form, int listWindowId, int row, int column) override;
    std::unique_ptr<IFormEvents> NewForForm() const override;

    // Finds the event's ACTION and applies its connection and log mode;
    // false when the control or the ACTION is missing.
    static bool FindEventAction(D_T1& form, int windowId, const QString& event);
    // The element children of the event's ACTION; false when there are none.
    static bool GetEventActions(const D_T1& form, int windowId, const QString& event, CXmlNodes& actions);

    // The log file holds the latest failure only. A log file that cannot be
    // written is reported on standard error with the entry; it never throws.
    static void WriteLog(const QString& text);

private:
    static void ApplyOpeningLists(D_T1& form);
    static void LogOpeningAndApplyRights(D_T1& form);
    static void RunInitActions(D_T1& form);
    // The rights check, use log and action list inside the event's
    // transaction.
    bool RunChecked(D_T1& form, int windowId, const QString& event);
    static bool HasNoRight(D_T1& form, int windowId);
};
