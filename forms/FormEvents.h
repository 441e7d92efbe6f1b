#pragma once

#include <QString>

#include <memory>

class D_T1;

// Event names of control notifications.
namespace FormEvent {
inline const QString Click = QStringLiteral("CLICK");
inline const QString DblClick = QStringLiteral("DCLICK");
inline const QString RClick = QStringLiteral("RCLICK");
inline const QString Change = QStringLiteral("EN_CHANGE");
inline const QString KillFocus = QStringLiteral("EN_KILLFOCUS");
inline const QString Enter = QStringLiteral("ENTER");
inline const QString Init = QStringLiteral("INIT");
} // namespace FormEvent

// The event machinery behind a form window: the window turns notifications
// into (window id, event name) and hands them here; this side finds the
// event's ACTION list in the description and runs it. Window ids are
// description ids + 1024; 1024 is the form itself.
class IFormEvents
{
public:
    virtual ~IFormEvents() = default;

    // The form-open step: at opening and on each re-run request.
    virtual void OnFormOpen(D_T1& form) = 0;
    // A full event (rights, transaction). The form is in its event while it
    // runs (no other event of it starts) and carries out after it a close
    // its actions asked for.
    virtual void FireEvent(D_T1& form, int windowId, const QString& event) = 0;
    // The bare list runner (RCLICK): no guard, transaction or rights.
    virtual bool RunEventActions(D_T1& form, int windowId, const QString& event) = 0;
    // Whether the control has an ACTION for the event (the Enter key).
    virtual bool HasEventAction(D_T1& form, int windowId, const QString& event) = 0;
    // ACTION/@id of the event: the text length at which EN_CHANGE fires;
    // -1 without an ACTION.
    virtual int GetChangeTriggerLength(D_T1& form, int windowId, const QString& event) = 0;
    // A grid cell (row, column from 0) was edited: its column's ENDEDIT
    // list and the column sums.
    virtual bool FireEndEdit(D_T1& form, int listWindowId, int row, int column) = 0;
    // The same machinery for another form (pages, pickers, popups).
    virtual std::unique_ptr<IFormEvents> NewForForm() const = 0;
};
