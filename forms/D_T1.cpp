#include "D_T1.h"

#include "ControlText.h"
#include "FormBuilder.h"
#include "FormEvents.h"
#include "FormScroller.h"
#include "FormTexts.h"
#include "grid/ListCtrlEx.h"
#include "PlaceholderExpander.h"
#include "QvFormAnimation.h"
#include "grid/ListCtrlEx.h"
#include "text/MessageSink.h"
#include "text/TextSplit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <algorithm>

namespace {

// Combo boxes above this window id take the exact list entry of their text
// when they lose the focus.
constexpr int ComboReselectAbove = D_T1::ControlIdBase + 20;
// Controls without a "director" keep their distance to the left and top.
constexpr int DefaultAnchor = CWndResizer::ANCHOR_LEFT | CWndResizer::ANCHOR_TOP;

// The form a widget belongs to: the nearest form window above it, itself
// included (a page form inside a container handles its own controls).
const D_T1* OwningForm(const QObject* object)
{
    for (; object; object = object->parent()) {
        if (auto* form = qobject_cast<const D_T1*>(object))
            return form;
    }
    return nullptr;
}

PlaceholderValues PlaceholderValuesOf(const D_T1& form)
{
    PlaceholderValues values = PlaceholderValues::WithApplication();
    values.hasIndexBox = form.m_pIndexWnd != nullptr;
    if (values.hasIndexBox)
        values.index2 = GetControlText(form.m_pIndexWnd);
    values.type = form.m_strType;
    values.input = form.m_strInput;
    values.selectedUid = form.m_actions.m_strSelectedUids;
    values.listedUids = form.m_actions.m_strListedUids;
    values.topRows = form.m_bTopRows;
    return values;
}

} // namespace

D_T1::D_T1(QWidget* parent)
    : QDialog(parent)
    , m_printer(*this)
    , m_printValues(m_printer.m_arrPrintValues)
{
    setWindowTitle(FormTexts::DefaultCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &D_T1::OnTimer);
}

D_T1::~D_T1()
{
    CloseWork();
    // The controls go while the tables that name them are still here; a
    // grid gives its cell editor back to the form as it goes, so the form is
    // emptied until nothing comes back.
    while (QWidget* child = findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        delete child;
}

bool D_T1::LoadDescription(const QString& text)
{
    QString error;
    m_pDoc = nullptr;
    if (!m_doc.LoadForm(text, error)) {
        ShowMessage(error);
        return false;
    }
    m_pDoc = &m_doc;
    return true;
}

void D_T1::SetBuilder(std::unique_ptr<IFormBuilder> builder)
{
    m_builder = std::move(builder);
}

void D_T1::SetEvents(std::unique_ptr<IFormEvents> events)
{
    m_events = std::move(events);
}

bool D_T1::Create()
{
    if (!m_pDoc)
        return false;
    m_bModal = false;
    setAttribute(Qt::WA_DeleteOnClose);
    if (m_builder)
        m_builder->Build(*this);
    OnInitDialog();
    return true;
}

int D_T1::DoModal()
{
    if (!m_pDoc)
        return Rejected;
    m_bModal = true;
    // Modal from its first showing, which the opening does: the opener
    // takes no input and cannot be closed while the picker runs.
    setWindowModality(Qt::ApplicationModal);
    if (m_builder)
        m_builder->Build(*this);
    OnInitDialog();
    return exec();
}

void D_T1::OnInitDialog()
{
    // Keys are seen before the control that has the focus, as a dialog's
    // message pre-translation sees them.
    qApp->installEventFilter(this);
    ApplyHead();
    if (m_head.style == 1)
        setWindowState(windowState() | Qt::WindowMaximized);
    show();
    // A form opens as the active window, whatever the window manager does
    // (or with none): keys typed next, a hot key first, go to it.
    if (isWindow())
        activateWindow();
    m_bTopRows = true;
    if (m_events)
        m_events->OnFormOpen(*this);
    PostAfterEventWork();
    m_bTopRows = false;
    if (!m_bPage && m_head.HasTimer())
        m_timer.start(m_head.timeSplit);
    // The INIT actions may have changed the draw method.
    if (m_head.drawMethod == u"1" && !m_animation) {
        m_animation = new QvFormAnimation(this);
        m_animation->show();
        m_animation->Start();
    }
}

void D_T1::ApplyHead()
{
    // A missing head leaves caption, style, position and timer as they are.
    const CXmlNode head = m_pDoc->GetHead();
    if (!head.IsNull()) {
        m_background.Load(head);
        const CFormHead read = CFormHead::Read(head);
        if (m_bPage) {
            m_head.drawMethod = read.drawMethod;
            m_head.scroll = read.scroll;
            m_head.bg = read.bg;
        } else {
            m_head = read;
            setWindowTitle(read.title);
            ApplyPosition();
            if (read.inIdSwitch) {
                if (QWidget* target = GetDlgItem(read.inId + ControlIdBase))
                    SetControlText(target, m_strInput);
            }
        }
    }
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window,
                     m_head.bg ? palette.color(QPalette::Button) : QColor(Qt::white));
    setPalette(palette);
    setAutoFillBackground(true);
    if (!m_head.scroll.isEmpty())
        m_scroller = std::make_unique<CFormScroller>(*this, m_head.ScrollSizes());
    else
        LayoutSplits();
    if (m_head.style == 2) {
        setWindowFlag(Qt::WindowMaximizeButtonHint, false);
        setFixedSize(size());
    }
}

void D_T1::LayoutSplits()
{
    m_resizer.SetLayoutAreaSource([this] { return QRect(QPoint(0, 0), size() + m_frameTaken); });
    m_resizer.Hook(this, [this](int windowId) { return GetDlgItem(windowId); });
    const CXmlNode root = m_pDoc->GetRoot();
    const CXmlNode body = root.IsNull() ? CXmlNode() : CXmlNode(root.GetChild(QStringLiteral("body")));
    const CXmlNode dialog = body.IsNull() ? CXmlNode() : CXmlNode(body.GetChild(QStringLiteral("dialog")));
    const CXmlNodes elements = dialog.GetChildren();
    for (int i = 0; i < elements.GetCount(); ++i) {
        const CXmlNode element = elements[i];
        if (element.GetName() == u"split") {
            const QString name = element.GetAttribute(QStringLiteral("value"));
            QList<int> ids;
            SplitToInts(name, QStringLiteral(";"), ids);
            if (ids.size() < 2)
                continue;
            m_resizer.CreateSplitContainer(name, ids[0] + ControlIdBase, ids[1] + ControlIdBase);
            m_resizer.SetPanelAnchor(name, CWndResizer::ANCHOR_ALL);
            m_resizer.SetShowSplitterGrip(name, true);
        } else if (element.GetAttributeInt(QStringLiteral("hidden"), 0) != 2) {
            const int anchor = element.GetAttributeInt(QStringLiteral("director"), DefaultAnchor);
            m_resizer.SetAnchor(element.GetAttributeInt(QStringLiteral("id"), 0) + ControlIdBase, unsigned(anchor));
        }
    }
    if (!m_bPage)
        m_resizer.SetShowResizeGrip(true);
    m_resizer.InvokeOnResized();
}

void D_T1::ApplyPosition()
{
    // A text that is not four numbers has had its message; the window keeps
    // its size rather than shrinking to nothing.
    RectLTRB pos;
    if (!m_head.ReadPos(pos))
        return;
    const QScreen* screen = QGuiApplication::primaryScreen();
    m_place = CentredFormRect(pos, screen ? screen->availableSize() : QSize());
    // The window manager reports the frame only once the window is shown.
    m_bPlaceOnFrame = true;
    PlaceWindow();
}

void D_T1::PlaceWindow()
{
    // The place is the whole window, frame included: the client area gets
    // what the frame leaves of it.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    QPoint topLeft = m_place.topLeft();
    if (m_bBelow) {
        const int halfFrame = (frame.left() + frame.right()) / 2;
        topLeft = QPoint(m_nBelowLeft - (halfFrame - 1), m_nBelowBottom - 1);
    }
    const QSize client(qMax(0, m_place.width() - frame.left() - frame.right()),
                       qMax(0, m_place.height() - frame.top() - frame.bottom()));
    move(topLeft);
    if (m_head.style == 2)
        setFixedSize(client);
    else
        resize(client);
}

void D_T1::AddControl(int descriptionId, const QString& kind, QWidget* control, const CXmlNode& element)
{
    const int windowId = descriptionId + ControlIdBase;
    m_controlList.append(Control{windowId, kind, control, element});
    // A widget registered twice keeps its first id, as a second control of
    // the same id is found by neither.
    if (!m_ids.contains(control))
        m_ids.insert(control, windowId);
    connect(control, &QObject::destroyed, this, [this](QObject* gone) { m_ids.remove(gone); });
}

QList<QWidget*> D_T1::GetControlsOfKind(const QString& kind) const
{
    QList<QWidget*> found;
    for (const Control& control : m_controlList) {
        if (control.widget && control.kind == kind)
            found.append(control.widget.data());
    }
    return found;
}

QWidget* D_T1::GetDlgItem(int windowId) const
{
    for (const Control& control : m_controlList) {
        if (control.windowId == windowId && control.widget)
            return control.widget.data();
    }
    return nullptr;
}

QString D_T1::GetControlKind(int windowId) const
{
    for (const Control& control : m_controlList) {
        if (control.windowId == windowId && control.widget)
            return control.kind;
    }
    return QString();
}

int D_T1::GetDlgCtrlID(const QObject* object) const
{
    for (; object && object != this; object = object->parent()) {
        if (const int id = m_ids.value(object))
            return id;
    }
    return 0;
}

void D_T1::AddPage(int containerWindowId, D_T1* page)
{
    m_pages[containerWindowId].append(page);
}

D_T1* D_T1::GetPage(int containerWindowId, int pageNumber) const
{
    const QList<QPointer<D_T1>> pages = m_pages.value(containerWindowId);
    return pageNumber >= 1 && pageNumber <= pages.size() ? pages[pageNumber - 1].data() : nullptr;
}

QList<D_T1*> D_T1::GetPages(int containerWindowId) const
{
    QList<D_T1*> pages;
    for (const QPointer<D_T1>& page : m_pages.value(containerWindowId)) {
        if (page)
            pages.append(page.data());
    }
    return pages;
}

D_T1* D_T1::NewSubForm(QWidget* parent, bool page)
{
    auto* form = new D_T1(parent);
    form->m_pOpener = this;
    form->m_bPage = page;
    if (page) {
        form->setWindowFlags(Qt::Widget);
    } else {
        // Owned by its opener, as a dialog is: the window manager keeps it in
        // front of the opener, also when the opener, which takes no input
        // under its picker or popup, is clicked.
        form->setWindowFlags((form->windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    }
    if (m_builder)
        form->SetBuilder(m_builder->NewForForm());
    if (m_events)
        form->SetEvents(m_events->NewForForm());
    return form;
}

int D_T1::FindHotKeyControl(int key) const
{
    if (!m_pDoc)
        return 0;
    const std::optional<int> value = m_pDoc->FindHotKeyValue(key);
    return value ? *value + ControlIdBase : 0;
}

void D_T1::FireEvent(int windowId, const QString& event)
{
    if (m_life != FormLife::Open || !m_pDoc)
        return;
    // The message boxes of an event run the application loop: the events
    // of other forms (their timers above all) wait until it is over.
    if (RunningEventForm() && RunningEventForm() != this) {
        WaitForRunningEvent(windowId, event);
        return;
    }
    m_life = FormLife::InEvent;
    RunningEventForm() = this;
    if (m_events)
        m_events->FireEvent(*this, windowId, event);
    RunningEventForm() = nullptr;
    m_life = FormLife::Open;
    PostAfterEventWork();
    PostWaitingEvents();
    CarryOutClose();
}

void D_T1::RequestClose()
{
    if (m_life == FormLife::InEvent)
        m_waitingClose = WaitingClose{true, Accepted};
}

void D_T1::DropCloseRequest()
{
    if (m_life == FormLife::InEvent && m_waitingClose && m_waitingClose->requested)
        m_waitingClose.reset();
}

void D_T1::CarryOutClose()
{
    const std::optional<WaitingClose> waiting = std::exchange(m_waitingClose, std::nullopt);
    if (!waiting)
        return;
    if (waiting->requested && m_pOpener && m_head.parentBtn > 0)
        m_pOpener->FireEvent(m_head.parentBtn + ControlIdBase, FormEvent::Click);
    done(waiting->result);
}

QPointer<D_T1>& D_T1::RunningEventForm()
{
    static QPointer<D_T1> running;
    return running;
}

QList<D_T1::WaitingEvent>& D_T1::WaitingEvents()
{
    static QList<WaitingEvent> waiting;
    return waiting;
}

void D_T1::WaitForRunningEvent(int windowId, const QString& event)
{
    // A timer that fires again while it waits is one event, not many.
    for (const WaitingEvent& waiting : WaitingEvents()) {
        if (waiting.form == this && waiting.windowId == windowId && waiting.event == event)
            return;
    }
    WaitingEvents().append(WaitingEvent{this, windowId, event});
}

void D_T1::PostWaitingEvents()
{
    const QList<WaitingEvent> waiting = std::exchange(WaitingEvents(), {});
    for (const WaitingEvent& item : waiting) {
        if (item.form) {
            D_T1* form = item.form.data();
            QTimer::singleShot(0, form, [form, item] { form->FireEvent(item.windowId, item.event); });
        }
    }
}

bool D_T1::RunEventActions(int windowId, const QString& event)
{
    return m_events && m_pDoc && m_life != FormLife::Closed && m_events->RunEventActions(*this, windowId, event);
}

void D_T1::RunAfterEvent(std::function<void()> work)
{
    m_afterEvent.append(std::move(work));
}

void D_T1::PostAfterEventWork()
{
    // Posted, so that the work starts only once the event's caller is back
    // in the application loop.
    const QList<std::function<void()>> work = std::exchange(m_afterEvent, {});
    for (const std::function<void()>& item : work)
        QTimer::singleShot(0, this, item);
}

QString D_T1::ExpandPlaceholders(const QString& text) const
{
    return CPlaceholderExpander(PlaceholderValuesOf(*this)).ExpandText(text);
}

bool D_T1::ExpandSqlPlaceholders(const QString& sql, QString& expanded, QString& error, int* rowLimit) const
{
    return CPlaceholderExpander(PlaceholderValuesOf(*this)).ExpandSql(sql, expanded, error, rowLimit);
}

QList<QPair<QString, QString>> D_T1::FormTokenValues(const QString& text) const
{
    return CPlaceholderExpander(PlaceholderValuesOf(*this)).TokenValues(text);
}

bool D_T1::FireEndEdit(int listWindowId, int row, int column)
{
    return m_events && m_pDoc && m_life != FormLife::Closed && m_events->FireEndEdit(*this, listWindowId, row, column);
}

void D_T1::RunNotifyRClick(int windowId)
{
    if (m_events && m_pDoc && m_life != FormLife::Closed)
        m_events->RunEventActions(*this, windowId, FormEvent::RClick);
    PostAfterEventWork();
}

void D_T1::OnTimer()
{
    FireEvent(m_head.threadId + ControlIdBase, FormEvent::Click);
}

void D_T1::OnReinit()
{
    if (m_events && m_pDoc && m_life != FormLife::Closed)
        m_events->OnFormOpen(*this);
    PostAfterEventWork();
}

void D_T1::Notify(int windowId, FormNotify code)
{
    switch (code) {
    case FormNotify::Clicked:
    case FormNotify::DropDown:
        FireEvent(windowId, FormEvent::Click);
        break;
    case FormNotify::DoubleClicked:
        FireEvent(windowId, FormEvent::DblClick);
        break;
    case FormNotify::RightClicked:
        RunNotifyRClick(windowId);
        break;
    case FormNotify::EditChange:
        OnEditChange(windowId);
        break;
    case FormNotify::KillFocus:
        OnCtrlKillFocus(windowId);
        break;
    case FormNotify::SelChange:
    case FormNotify::RowSelected:
        FireEvent(windowId, FormEvent::Change);
        break;
    }
}

void D_T1::OnEditChange(int windowId)
{
    const int length = m_events ? m_events->GetChangeTriggerLength(*this, windowId, FormEvent::Change) : -1;
    if (length < 1 || length == GetControlText(GetDlgItem(windowId)).size())
        FireEvent(windowId, FormEvent::Change);
}

void D_T1::OnCtrlKillFocus(int windowId)
{
    auto* combo = qobject_cast<QComboBox*>(GetDlgItem(windowId));
    if (combo && windowId > ComboReselectAbove) {
        const QString text = combo->currentText();
        combo->setCurrentIndex(combo->findText(text, Qt::MatchFixedString));
        if (combo->isEditable())
            combo->setEditText(text);
        FireEvent(windowId, FormEvent::Change);
    }
    FireEvent(windowId, FormEvent::KillFocus);
}

bool D_T1::event(QEvent* e)
{
    const QEvent::Type type = e->type();
    if (type == ReinitEvent) {
        OnReinit();
        return true;
    }
    // The base deletes the form here: nothing of it may be read after.
    if (type == QEvent::DeferredDelete)
        return QDialog::event(e);
    const bool handled = QDialog::event(e);
    if (m_bPlaceOnFrame && (type == QEvent::Show || type == QEvent::Move || type == QEvent::Resize)
        && windowHandle() && !windowHandle()->frameMargins().isNull()) {
        m_bPlaceOnFrame = false;
        if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            // The controls were laid out for the whole place: the frame's
            // share does not shrink them.
            const QMargins frame = windowHandle()->frameMargins();
            m_frameTaken = QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
            PlaceWindow();
        }
    }
    return handled;
}

bool D_T1::eventFilter(QObject* watched, QEvent* e)
{
    // One filter on the application sees the keys before the controls do.
    if (m_life != FormLife::Closed && e->type() == QEvent::KeyPress && IsOwnKeyReceiver(watched))
        return OnKeyPress(watched, static_cast<QKeyEvent*>(e));
    return QDialog::eventFilter(watched, e);
}

bool D_T1::IsOwnKeyReceiver(QObject* receiver) const
{
    // A key travels from the focus widget up to its parents; it is handled
    // once, at the first of them. Keys of another top-level window (a
    // message box over the form, a combo box's list) are that window's own.
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || OwningForm(widget) != this || widget->window() != window())
        return false;
    const QWidget* focus = QApplication::focusWidget();
    return widget == focus || (!focus && widget == this);
}

CListCtrlEx* D_T1::GridOfReceiver(QObject* receiver) const
{
    for (; receiver && receiver != this; receiver = receiver->parent()) {
        if (auto* grid = qobject_cast<CListCtrlEx*>(receiver))
            return grid;
    }
    return nullptr;
}

bool D_T1::OnKeyPress(QObject* receiver, QKeyEvent* key)
{
    // A key with Alt (a button's mnemonic) commits the open cell edits first,
    // so that what it runs sees the edited values.
    if (key->modifiers() & Qt::AltModifier) {
        for (QWidget* table : GetControlsOfKind(QStringLiteral("table"))) {
            if (auto* grid = qobject_cast<CListCtrlEx*>(table))
                grid->EndEdit(true);
        }
    }
    const int code = key->key();
    // The focused widget comes first: a cell editor's Enter and Escape, and
    // a grid's own keys unless the grid has an ENTER action.
    CListCtrlEx* grid = GridOfReceiver(receiver);
    if (grid && grid->IsEditing()
        && (code == Qt::Key_Return || code == Qt::Key_Enter || code == Qt::Key_Escape || code == Qt::Key_Tab))
        return false;
    if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        if (key->modifiers() & Qt::ControlModifier)
            return false;
        const int windowId = GetDlgCtrlID(receiver);
        if (windowId && m_events && m_events->HasEventAction(*this, windowId, FormEvent::Enter)) {
            FireEvent(windowId, FormEvent::Enter);
            return true;
        }
        if (grid)
            return false;
        focusNextChild(); // Enter moves on like Tab
        return true;
    }
    if (code == Qt::Key_Escape)
        return true; // a form never closes on Escape
    if (code >= Qt::Key_F1 && code <= Qt::Key_F24)
        ClickHotKey(code - Qt::Key_F1 + 1);
    return false;
}

bool D_T1::ClickHotKey(int number)
{
    const int windowId = FindHotKeyControl(number);
    QWidget* control = windowId >= ControlIdBase ? GetDlgItem(windowId) : nullptr;
    if (!control) {
        // The outer form's hot keys work with the focus on a page.
        return m_bPage && m_pOpener && m_pOpener->ClickHotKey(number);
    }
    // The control takes the focus before it is clicked, not after: where
    // its click puts the focus (a new row's cell editor) is where the next
    // keys go.
    control->setFocus(Qt::ShortcutFocusReason);
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button && button->isEnabled())
        button->click();
    return true;
}

void D_T1::keyPressEvent(QKeyEvent* e)
{
    // Also when a control passes Escape on to the form.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void D_T1::resizeEvent(QResizeEvent* e)
{
    QDialog::resizeEvent(e);
    if (m_scroller)
        m_scroller->OnResize();
}

void D_T1::wheelEvent(QWheelEvent* e)
{
    const int vertical = e->angleDelta().y();
    if (!m_scroller || vertical == 0) {
        QDialog::wheelEvent(e);
        return;
    }
    m_scroller->OnWheel(vertical);
    e->accept();
}

void D_T1::SetMainWindow(QWidget* window)
{
    MainWindow() = window;
}

QPointer<QWidget>& D_T1::MainWindow()
{
    static QPointer<QWidget> window;
    return window;
}

void D_T1::mousePressEvent(QMouseEvent* e)
{
    // A form is dragged by its body as by its caption; a page stays put.
    if (!m_bPage && e->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    // A right click on the body brings the main window with its menus back
    // into view, in front of every form.
    if (e->button() == Qt::RightButton && MainWindow()) {
        MainWindow()->showNormal();
        MainWindow()->raise();
        MainWindow()->activateWindow();
    }
    QDialog::mousePressEvent(e);
}

void D_T1::paintEvent(QPaintEvent* e)
{
    QDialog::paintEvent(e);
    if (!m_background.IsEmpty()) {
        QPainter painter(this);
        m_background.Paint(painter, size());
    }
}

void D_T1::CloseWork()
{
    if (m_life == FormLife::Closed)
        return;
    m_life = FormLife::Closed;
    m_waitingClose.reset();
    m_timer.stop();
    if (m_animation)
        m_animation->Stop();
    qApp->removeEventFilter(this);
}

bool D_T1::HasOpenModalForm() const
{
    const QList<D_T1*> forms = findChildren<D_T1*>();
    return std::any_of(forms.begin(), forms.end(),
                       [](const D_T1* form) { return form->isModal() && form->isVisible(); });
}

void D_T1::CloseWhenDeferred()
{
    if (m_life == FormLife::Closing && !HasOpenModalForm())
        CarryOutClose();
}

bool D_T1::CloseMustWait(int result)
{
    // The running event still uses the description and the controls, a
    // picker or popup of the form its controls: the form closes once they
    // are over. The event's own request stays what ends it.
    if (m_life == FormLife::InEvent) {
        if (!m_waitingClose || !m_waitingClose->requested)
            m_waitingClose = WaitingClose{false, result};
        return true;
    }
    if (m_life != FormLife::Closed && HasOpenModalForm()) {
        m_life = FormLife::Closing;
        m_waitingClose = WaitingClose{false, result};
        return true;
    }
    return false;
}

void D_T1::closeEvent(QCloseEvent* e)
{
    if (CloseMustWait(Rejected)) {
        e->ignore();
        return;
    }
    CloseWork();
    QDialog::closeEvent(e); // ends through done()
}

void D_T1::done(int result)
{
    // Ending a modeless form closes it for good, as closing its window does
    // (it deletes itself); a picker returns to its caller.
    if (CloseMustWait(result))
        return;
    CloseWork();
    if (!m_bModal) {
        m_doc.Close();
        m_pDoc = nullptr;
    }
    QDialog::done(result);
    if (m_pOpener && !m_bPage)
        QTimer::singleShot(0, m_pOpener.data(), &D_T1::CloseWhenDeferred);
    if (!m_bModal && testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}
