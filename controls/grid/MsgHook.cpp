#include "grid/MsgHook.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>
#include <utility>

// The one application-wide filter; it hands every event to the hook procedure.
class CMsgHookFilter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return CMsgHook::HookProc(watched, event);
    }
};

namespace
{
int s_nInstances = 0;
std::unique_ptr<CMsgHookFilter> s_filter;
// The second press of a double click is being delivered. It is no new
// press (the platform reports it as a double click only): neither it nor
// the focus it takes ends the edit that the first click opened, a
// button's new row say, and its editor has the focus back at the release.
bool s_bSecondPress = false;
QPointer<QWidget> s_refocus;

// Editor window -> the instance that registered it.
QHash<QWidget*, CMsgHook*>& Registrations()
{
    static QHash<QWidget*, CMsgHook*> map;
    return map;
}

bool IsInside(const QObject* object, const QWidget* editor)
{
    for (const QObject* o = object; o; o = o->parent())
        if (o == editor)
            return true;
    return false;
}

// A press inside the editor's rectangle counts as inside even when its
// receiver is the grid underneath (a press the editor passed on).
bool IsPointInside(const QEvent* event, const QWidget* editor)
{
    const auto* mouse = dynamic_cast<const QSinglePointEvent*>(event);
    if (!mouse || !editor->isVisible())
        return false;
    return editor->rect().contains(editor->mapFromGlobal(mouse->globalPosition().toPoint()));
}
} // namespace

CMsgHook::CMsgHook()
{
    if (s_nInstances == 0 && qApp) {
        s_filter = std::make_unique<CMsgHookFilter>();
        qApp->installEventFilter(s_filter.get());
    }
    ++s_nInstances;
}

CMsgHook::~CMsgHook()
{
    Detach();
    if (--s_nInstances == 0 && s_filter) {
        if (qApp)
            qApp->removeEventFilter(s_filter.get());
        s_filter.reset();
    }
}

bool CMsgHook::Attach(QWidget* editor, QObject* notify, QObject* target)
{
    if (!editor || !notify)
        return false;
    Detach();
    // An editor has at most one registration.
    if (CMsgHook* other = Registrations().value(editor))
        other->Detach();
    m_hEditor = editor;
    m_hNotify = notify;
    m_hTarget = target;
    Registrations().insert(editor, this);
    m_destroyed = QObject::connect(editor, &QObject::destroyed, [this] { Detach(); });
    return true;
}

bool CMsgHook::Detach()
{
    if (!m_hEditor)
        return false;
    QObject::disconnect(m_destroyed);
    Registrations().remove(m_hEditor);
    m_hEditor = nullptr;
    m_hNotify = nullptr;
    m_hTarget = nullptr;
    return true;
}

int CMsgHook::InstanceCount()
{
    return s_nInstances;
}

bool CMsgHook::IsInstalled()
{
    return s_filter != nullptr;
}

CMsgHook* CMsgHook::FindRegistration(QObject* window)
{
    const auto& map = Registrations();
    for (QObject* o = window; o; o = o->parent())
        if (o->isWidgetType())
            if (CMsgHook* hook = map.value(static_cast<QWidget*>(o)))
                return hook;
    return nullptr;
}

bool CMsgHook::IsDroppedDown(QWidget* editor)
{
    if (auto* combo = qobject_cast<QComboBox*>(editor); combo && combo->view() && combo->view()->isVisible())
        return true;
    // A combo box list or a calendar opens as a popup window whose parent is
    // the editor.
    QWidget* popup = QApplication::activePopupWidget();
    return popup && IsInside(popup, editor);
}

bool CMsgHook::IsInDropDown(const QObject* object, const QWidget* editor)
{
    return object->isWidgetType() && static_cast<const QWidget*>(object)->window() != editor->window();
}

void CMsgHook::SendEnd(int commit)
{
    QObject* target = m_hTarget ? m_hTarget.data() : m_hNotify.data();
    if (!target)
        return;
    CEndCellEditEvent end(commit);
    QCoreApplication::sendEvent(target, &end);
}

void CMsgHook::EndAll()
{
    const QList<CMsgHook*> hooks = Registrations().values();
    for (CMsgHook* hook : hooks) {
        // An earlier end may have withdrawn this one already.
        if (!Registrations().values().contains(hook))
            continue;
        if (!IsDroppedDown(hook->m_hEditor))
            hook->SendEnd(1);
    }
}

bool CMsgHook::HookProc(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusOut: {
        CMsgHook* hook = FindRegistration(watched);
        if (hook && s_bSecondPress)
            s_refocus = hook->m_hEditor;
        if (!hook || s_bSecondPress || IsDroppedDown(hook->m_hEditor))
            return false;
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
            return false;
        // By now the application's focus widget is the one gaining the focus.
        if (IsInside(QApplication::focusWidget(), hook->m_hEditor))
            return false;
        hook->SendEnd(1);
        return false;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Alt) {
            EndAll();
            return false;
        }
        if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        // Enter or Esc in the editor's own drop-down list chooses or closes
        // the list; the list is gone by the time the key reaches its frame.
        CMsgHook* hook = FindRegistration(watched);
        if (hook && !IsDroppedDown(hook->m_hEditor) && !IsInDropDown(watched, hook->m_hEditor))
            hook->SendEnd(key == Qt::Key_Escape ? 0 : 1);
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (!watched->isWidgetType()) {
            s_bSecondPress = false;
            QWidget* editor = std::exchange(s_refocus, nullptr);
            if (editor && Registrations().contains(editor))
                editor->setFocus(Qt::MouseFocusReason);
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::ContextMenu: {
        // Mouse events reach the window first and then the widget: judge the widget.
        if (!watched->isWidgetType()) {
            if (event->type() == QEvent::MouseButtonPress)
                s_bSecondPress = static_cast<QMouseEvent*>(event)->flags() & Qt::MouseEventCreatedDoubleClick;
            return false;
        }
        if (s_bSecondPress || Registrations().isEmpty() || FindRegistration(watched))
            return false;
        for (CMsgHook* hook : Registrations())
            if (IsPointInside(event, hook->m_hEditor))
                return false;
        EndAll();
        return false;
    }
    default:
        return false;
    }
}
