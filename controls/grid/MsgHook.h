#pragma once

#include <QEvent>
#include <QMetaObject>
#include <QPointer>

class QObject;
class QWidget;

// The message that ends an open cell edit: sent (never posted) to the window
// that owns the editor, commit 1 to keep the edit, 0 to cancel it.
constexpr int WM_END_CELL_EDIT = 1034; // WM_USER + 10

class CEndCellEditEvent : public QEvent
{
public:
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + WM_END_CELL_EDIT);

    explicit CEndCellEditEvent(int commit)
        : QEvent(kType), m_nCommit(commit)
    {
    }
    int Commit() const { return m_nCommit; }

private:
    int m_nCommit;
};

// Ends in-place cell edits when the user leaves them: Enter (commit) or Esc
// (cancel) in the editor, the focus moving out of it, a click, wheel turn or
// context menu outside it, or the Alt key; but not while the editor's own
// drop-down list or calendar is open, nor for anything inside the editor.
//
// One application-wide event filter serves every registration; it is
// installed with the first live CMsgHook and removed with the last. Each
// instance holds at most one registration (editor, notify object, target);
// the end is a CEndCellEditEvent sent to the target, or to the notify object
// when there is no target. A registration disappears with its editor window
// or its CMsgHook.
class CMsgHook
{
public:
    CMsgHook();
    virtual ~CMsgHook();

    CMsgHook(const CMsgHook&) = delete;
    CMsgHook& operator=(const CMsgHook&) = delete;

    // Registers editor; a registration this instance held before is withdrawn
    // first. False, and nothing registered, without an editor or notify object.
    bool Attach(QWidget* editor, QObject* notify, QObject* target = nullptr);
    // Withdraws this instance's registration; false when it had none.
    bool Detach();
    bool IsAttached() const { return m_hEditor != nullptr; }

    // The number of live instances and whether the filter is installed.
    static int InstanceCount();
    static bool IsInstalled();

private:
    friend class CMsgHookFilter;
    static bool HookProc(QObject* watched, QEvent* event);
    static CMsgHook* FindRegistration(QObject* window);
    static bool IsDroppedDown(QWidget* editor);
    // The object is in a window of the editor's own (its drop-down list).
    static bool IsInDropDown(const QObject* object, const QWidget* editor);
    static void EndAll();
    void SendEnd(int commit);

    QWidget* m_hEditor = nullptr;
    QPointer<QObject> m_hNotify;
    QPointer<QObject> m_hTarget;
    QMetaObject::Connection m_destroyed;
};
