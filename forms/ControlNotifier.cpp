#include "ControlNotifier.h"

#include "D_T1.h"
#include "DropListBox.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFocusEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPersistentModelIndex>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

#include <utility>

namespace {

void CheckAncestors(QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setCheckState(0, Qt::Checked);
}

// Watches one control for what its signals do not carry (double clicks,
// clicks in a list's rows, losing the focus) and, for a list, follows its
// selection model when a new model brings a new one.
class CNotifyFilter : public QObject
{
public:
    CNotifyFilter(D_T1& form, int windowId, QWidget* control)
        : QObject(control), m_form(&form), m_windowId(windowId), m_control(control)
    {
        control->installEventFilter(this);
    }

    bool reportDoubleClick = false;
    // A button's double click is one DCLICK: its second press never presses
    // the button, so it does not click it again.
    bool swallowDoubleClick = false;
    bool reportFocusOut = false;
    QAbstractItemView* view = nullptr;

    void HookSelection()
    {
        QItemSelectionModel* model = view ? view->selectionModel() : nullptr;
        if (model == m_selection)
            return;
        if (m_selection)
            QObject::disconnect(m_selection, nullptr, this, nullptr);
        m_selection = model;
        m_lastRow = QPersistentModelIndex();
        if (!model)
            return;
        connect(model, &QItemSelectionModel::currentChanged, this, &CNotifyFilter::RowChanged);
        connect(model, &QItemSelectionModel::selectionChanged, this, &CNotifyFilter::RowChanged);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (!m_form)
            return false;
        switch (e->type()) {
        case QEvent::ChildAdded:
            // setModel makes the view a new selection model, as its child;
            // it is in place once the call returns.
            if (view && watched == view)
                QTimer::singleShot(0, this, &CNotifyFilter::HookSelection);
            break;
        case QEvent::MouseButtonPress:
            m_bSecondPress = false;
            if (view)
                HookSelection();
            break;
        case QEvent::MouseButtonDblClick:
            if (reportDoubleClick && (watched == m_control || (view && watched == view->viewport()))) {
                m_bSecondPress = true;
                m_form->Notify(m_windowId, FormNotify::DoubleClicked);
                return swallowDoubleClick && watched == m_control;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (view && watched == view->viewport()) {
                const Qt::MouseButton button = static_cast<QMouseEvent*>(e)->button();
                // The release of a double click's second press ends the
                // DCLICK; the first press and release made the CLICK.
                if (button == Qt::LeftButton && !std::exchange(m_bSecondPress, false))
                    m_form->Notify(m_windowId, FormNotify::Clicked);
                else if (button == Qt::RightButton)
                    m_form->Notify(m_windowId, FormNotify::RightClicked);
            }
            break;
        case QEvent::FocusOut:
            // Opening a drop-down list takes the focus to the popup only for a while.
            if (reportFocusOut && watched == m_control
                && static_cast<QFocusEvent*>(e)->reason() != Qt::PopupFocusReason)
                m_form->Notify(m_windowId, FormNotify::KillFocus);
            break;
        default:
            break;
        }
        return false;
    }

private:
    void RowChanged()
    {
        view->viewport()->update();
        // A row that is both current and selected, and was not before.
        const QModelIndex current = m_selection->currentIndex();
        const bool selected = current.isValid() && m_selection->isSelected(current);
        const QModelIndex row = selected ? current.siblingAtColumn(0) : QModelIndex();
        if (row == m_lastRow)
            return;
        m_lastRow = row;
        if (row.isValid() && m_form)
            m_form->Notify(m_windowId, FormNotify::RowSelected);
    }

    QPointer<D_T1> m_form;
    int m_windowId;
    QWidget* m_control;
    QPointer<QItemSelectionModel> m_selection;
    QPersistentModelIndex m_lastRow;
    bool m_bSecondPress = false;
};

CNotifyFilter* Filter(D_T1& form, int windowId, QWidget* control)
{
    return new CNotifyFilter(form, windowId, control);
}

} // namespace

namespace ControlNotifier {

void HookButton(D_T1& form, int windowId, QAbstractButton* button)
{
    QObject::connect(button, &QAbstractButton::clicked, &form,
                     [&form, windowId] { form.Notify(windowId, FormNotify::Clicked); });
    CNotifyFilter* filter = Filter(form, windowId, button);
    filter->reportDoubleClick = true;
    filter->swallowDoubleClick = true;
}

void HookEdit(D_T1& form, int windowId, QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textChanged, &form,
                     [&form, windowId] { form.Notify(windowId, FormNotify::EditChange); });
    Filter(form, windowId, edit)->reportFocusOut = true;
}

void HookTextEdit(D_T1& form, int windowId, QPlainTextEdit* edit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, &form,
                     [&form, windowId] { form.Notify(windowId, FormNotify::EditChange); });
    Filter(form, windowId, edit)->reportFocusOut = true;
}

void HookDropList(D_T1& form, int windowId, CDropListBox* list)
{
    QObject::connect(list, &CDropListBox::droppingDown, &form,
                     [&form, windowId] { form.Notify(windowId, FormNotify::DropDown); });
    QObject::connect(list, &QComboBox::activated, &form,
                     [&form, windowId] { form.Notify(windowId, FormNotify::SelChange); });
    if (QLineEdit* editor = list->lineEdit()) {
        QObject::connect(editor, &QLineEdit::textEdited, &form,
                         [&form, windowId] { form.Notify(windowId, FormNotify::DoubleClicked); });
    }
    Filter(form, windowId, list)->reportFocusOut = true;
}

void HookItemView(D_T1& form, int windowId, QAbstractItemView* view)
{
    CNotifyFilter* filter = Filter(form, windowId, view);
    filter->reportDoubleClick = true;
    filter->view = view;
    view->viewport()->installEventFilter(filter);
    filter->HookSelection();
    if (auto* tree = qobject_cast<QTreeWidget*>(view)) {
        QObject::connect(tree, &QTreeWidget::itemChanged, &form, [](QTreeWidgetItem* item, int column) {
            if (column == 0 && item->checkState(0) == Qt::Checked)
                CheckAncestors(item);
        });
    }
}

void HookFocus(D_T1& form, int windowId, QWidget* control)
{
    Filter(form, windowId, control)->reportFocusOut = true;
}

} // namespace ControlNotifier
