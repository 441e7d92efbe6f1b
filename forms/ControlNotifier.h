#pragma once

class CDropListBox;
class D_T1;
class QAbstractButton;
class QAbstractItemView;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidget;
class QWidget;

// The builder's side of notifications: hooks a control's signals and events
// so that it reports to its form through D_T1::Notify alone, as a control
// reports to its parent window. One hook per kind of control.
namespace ControlNotifier {

// Click and double click.
void HookButton(D_T1& form, int windowId, QAbstractButton* button);
// Text changes and leaving the edit.
void HookEdit(D_T1& form, int windowId, QLineEdit* edit);
void HookTextEdit(D_T1& form, int windowId, QPlainTextEdit* edit);
// Opening, choosing, typing into and leaving the list.
void HookDropList(D_T1& form, int windowId, CDropListBox* list);
// Clicks in the rows and a newly selected current row; a model set later
// keeps reporting. Trees also check the ancestors of a checked item.
void HookItemView(D_T1& form, int windowId, QAbstractItemView* view);
// Losing the focus only (a browse box's edit, a date control).
void HookFocus(D_T1& form, int windowId, QWidget* control);

} // namespace ControlNotifier
