#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>

class CListCtrlEx;
class CXmlNode;
class D_T1;

// The keyword table of form actions. An event's action list hands each
// element to D_T1::RunAction, which finds the element's tag name here and
// runs the work registered for it: a handler of the form's action object or
// work of the form window itself. The form runtime names no handler: the
// actions register theirs once at start (RegisterFormActions in actions/),
// tests register the few they need.
//
// A tag name that is no keyword of the table is skipped (true). A keyword of
// the table with no work registered fails the action with a text naming it,
// so that no action a form relies on is passed over silently.
class CActionDispatcher
{
public:
    // The work of one keyword: (form, action element, control window id,
    // event name) -> true to go on with the list, false to stop it with the
    // failure text in the action object's database error text.
    using Work = std::function<bool(D_T1& form, const CXmlNode& action, int windowId, const QString& event)>;
    // The "jump" element, which the list runner handles itself: true with
    // the relative step to the next element.
    using JumpWork = std::function<bool(D_T1& form, const CXmlNode& action, int& step)>;
    // One child of a grid column's ENDEDIT list.
    using EndEditWork =
        std::function<bool(D_T1& form, const CXmlNode& action, CListCtrlEx* grid, int row, int column)>;

    // The dispatcher of the process.
    static CActionDispatcher& Instance();

    // The keywords, in the order of the table.
    static const QStringList& Keywords();

    // Registers the work of a keyword of the table; false (and nothing
    // registered) for a name that is not one.
    bool Register(const QString& keyword, Work work);
    void RegisterJump(JumpWork work) { m_jump = std::move(work); }
    void RegisterEndEdit(EndEditWork work) { m_endEdit = std::move(work); }
    bool IsRegistered(const QString& keyword) const { return m_work.contains(keyword); }
    // Forgets every registration (tests).
    void Clear();

    // Runs one action element for the event of a control (window id 0 for
    // the head's INIT list).
    bool Run(D_T1& form, const CXmlNode& action, int windowId, const QString& event) const;
    bool RunJump(D_T1& form, const CXmlNode& action, int& step) const;
    bool RunEndEdit(D_T1& form, const CXmlNode& action, CListCtrlEx* grid, int row, int column) const;

private:
    // Work the dispatcher does itself before the handler of a keyword.
    static void Prepare(D_T1& form, const QString& keyword);
    static bool Unavailable(D_T1& form, const QString& keyword);

    QHash<QString, Work> m_work;
    JumpWork m_jump;
    EndEditWork m_endEdit;
};
