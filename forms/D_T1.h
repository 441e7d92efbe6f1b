#pragma once

#include "FormActions.h"
#include "FormBackground.h"
#include "FormDescription.h"
#include "FormHead.h"
#include "FormNotify.h"
#include "FormPrinter.h"
#include "PrintSource.h"
#include "web/HttpSession.h"
#include "widgets/WndResizer.h"

#include <QDialog>
#include <QEvent>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class CFormScroller;
class CListCtrlEx;
class IFormBuilder;
class IFormEvents;
class QvFormAnimation;

// Where a form window is in its life. The one state decides whether an event
// may start, whether a close is carried out now and when the form may go:
//  Open     no event of the form runs; an event may start, and a close is
//           carried out at once unless a picker or popup of the form is open.
//  InEvent  an event of the form runs (its message boxes included): the
//           description and the controls are in use, so a close asked for
//           meanwhile waits for the event's end.
//  Closing  a close waits for the form's pickers and popups to close; no
//           event starts any more.
//  Closed   closed for good: nothing of the form runs again, and a modeless
//           form is deleted (later, from the application loop).
enum class FormLife { Open, InEvent, Closing, Closed };

// The window of every business form, built from a form description.
//
// Threads and event loops. All forms live on the one GUI thread. A menu form
// is a parentless top-level window opened with Create() (show(), no loop of
// its own): what was the form's own message loop is Qt's application loop,
// and the window deletes itself when it closes. A picker runs modal with
// DoModal() (exec()). Hand-over values (menu uid, ids to disable or hide,
// input text, type) are set on the object before Create(). The controls
// report their notifications through Notify (the builder hooks them); they
// become FireEvent calls, which run to completion on the GUI thread, so an
// event that arrives while another of the form runs is dropped, and anything
// that must happen "after the current event" is posted (ReinitEvent). The
// form's life (FormLife) says what may happen to it at each moment.
//
// Printing. The form is the print source of its own print description: the
// printed texts, check marks and tables are read from its controls while the
// pages are drawn.
class D_T1 : public QDialog, public IPrintSource
{
    Q_OBJECT

public:
    // Window ids of controls are description ids plus this; the base itself
    // stands for the form window.
    static constexpr int ControlIdBase = 1024;
    // WM_USER+2004: runs the form-open step again when posted to a form.
    static constexpr int MsgReinitForm = 0x0400 + 2004;
    static constexpr QEvent::Type ReinitEvent = static_cast<QEvent::Type>(MsgReinitForm);

    explicit D_T1(QWidget* parent = nullptr);
    ~D_T1() override;

    // Loads the description into m_doc and points m_pDoc at it. A text that
    // is not XML or has no "html" root shows its reason and gives false.
    bool LoadDescription(const QString& text);
    // The builder that creates the controls; without one the form has none.
    // It stays with the form for what it keeps (fonts, its database object).
    void SetBuilder(std::unique_ptr<IFormBuilder> builder);
    IFormBuilder* GetBuilder() const { return m_builder.get(); }
    void SetEvents(std::unique_ptr<IFormEvents> events);

    // The application's main window, which a right click on a form's body
    // brings forward; none until the shell names it.
    static void SetMainWindow(QWidget* window);

    // A form window of the same making as this one (builder and event
    // machinery), opened from it: the pages of containers, pickers and
    // popup forms. A page is a child window of parent; a picker or popup
    // is a window of its own that stays in front of parent's window.
    D_T1* NewSubForm(QWidget* parent, bool page);

    // Builds the controls, applies the head, shows the window modeless and
    // runs the open step; false without a loaded description.
    bool Create();
    // The same as a modal picker; the dialog's result.
    int DoModal();

    // One control as the builder made it.
    struct Control
    {
        int windowId = 0;
        QString kind; // the element's tag: "textbox", "table", ...
        QPointer<QWidget> widget;
        CXmlNode element;
    };

    // The control table, filled by the builder in creation order.
    void AddControl(int descriptionId, const QString& kind, QWidget* control,
                    const CXmlNode& element = CXmlNode());
    // Every control in creation order (gone ones included as null widgets).
    const QList<Control>& GetControls() const { return m_controlList; }
    // The live controls of one kind, in creation order.
    QList<QWidget*> GetControlsOfKind(const QString& kind) const;
    // The first control of the window id, as the platform finds it.
    QWidget* GetDlgItem(int windowId) const;
    // The element kind of that control; empty for none.
    QString GetControlKind(int windowId) const;
    // The window id of a control or of the control a child widget belongs
    // to (an editor inside a combo box, a list's viewport); 0 for none.
    int GetDlgCtrlID(const QObject* object) const;

    // The pages of a container control (window id), registered as the
    // builder makes them; page numbers count from 1.
    void AddPage(int containerWindowId, D_T1* page);
    D_T1* GetPage(int containerWindowId, int pageNumber) const;
    QList<D_T1*> GetPages(int containerWindowId) const;

    // A control's notification; the one way controls reach their form.
    void Notify(int windowId, FormNotify code);
    void FireEvent(int windowId, const QString& event);

    FormLife Life() const { return m_life; }
    // The running event's actions end the form ("close", a picker's
    // choice): once the event is over, the opener's parent button is
    // clicked and the form accepted. Outside an event nothing is asked.
    void RequestClose();
    // A failed event carries out no close its actions asked for.
    void DropCloseRequest();

    // The form-level tokens of a text to show ({{index}}, {{username}},
    // {{today:year}}, {{A0}}.. and the others) replaced by their values.
    QString ExpandPlaceholders(const QString& text) const;
    // The same for a SQL template: values from users or the database are
    // escaped inside literals and must be integers outside them; false with
    // the reason otherwise. rowLimit as for CPlaceholderExpander::ExpandSql.
    bool ExpandSqlPlaceholders(const QString& sql, QString& expanded, QString& error, int* rowLimit = nullptr) const;
    // The form-wide tokens the text holds, with their values.
    QList<QPair<QString, QString>> FormTokenValues(const QString& text) const;

    // Runs one action element of the event of a control (window id 0 for
    // the head's INIT list) through the keyword table.
    bool RunAction(const CXmlNode& action, int windowId, const QString& event);
    // The bare action list of a control's event (no guard, rights or
    // transaction), nested in the running event; false without machinery.
    bool RunEventActions(int windowId, const QString& event);
    // Writes the column sums of a grid into their controls.
    void SumTableCol(int listWindowId);
    // Work that must wait until the running event is over (clicks, menu
    // commands); it is posted to the GUI thread when the event ends.
    void RunAfterEvent(std::function<void()> work);

    // The work of the keywords the window carries out itself.
    bool CopyContent(const CXmlNode& action);
    bool RunDllMethod(const CXmlNode& action);
    bool SetDrawMethod(const CXmlNode& action);
    bool ShowActionMenu(const CXmlNode& action);
    bool ReturnSelected(const CXmlNode& action, int windowId);
    bool ReturnSelectedNode(const CXmlNode& action, int windowId);
    bool ResetDetail(const CXmlNode& action);
    bool SelectFile(const CXmlNode& action);
    bool GetHtmlNodeText(const CXmlNode& action);
    bool GetHtmlList(const CXmlNode& action);
    // Print offsets and printer choices per button (cfg.ini), printing and
    // its preview, and popup forms.
    bool PrintPosGet(const CXmlNode& action);
    bool PrintPosSetup(const CXmlNode& action);
    bool PrintSetup(const CXmlNode& action, int windowId);
    bool Print(const CXmlNode& action, int windowId);
    bool PrintPreview(const CXmlNode& action);
    bool ShowDialog(const CXmlNode& action);
    // Stops the form's click timer (an event the user has no right to).
    void StopTimer() { m_timer.stop(); }

    // A grid's cell edit ended with a new text (the grids' end-edit callback).
    bool FireEndEdit(int listWindowId, int row, int column);
    // Window id of the control that function key 1..24 clicks; 0 for none.
    int FindHotKeyControl(int key) const;

    // Hand-over values and state read by the event machinery and actions.
    CFormDescription m_doc;
    CFormDescription* m_pDoc = nullptr;
    QString m_strFormId = QStringLiteral("0");
    QString m_strMenuUid = QStringLiteral("0");
    QString m_strMenuName;
    QString m_strType;
    QString m_strInput;
    // The browse box that opened this picker: {{index2}}.
    QPointer<QWidget> m_pIndexWnd;
    QString m_strDisabledIds;
    QString m_strHiddenIds;
    // ";id;" for every control the user's group has no right to.
    QString m_strNoRightIds;
    QPointer<D_T1> m_pOpener;
    bool m_bModal = false;
    bool m_bPage = false;
    bool m_bBelow = false;
    int m_nBelowLeft = 0;
    int m_nBelowBottom = 0;
    bool m_bTopRows = false;
    // The event whose action runs, and its ACTION's log mode (0: rights
    // checked, 1: also logged, 2 and above: neither).
    QString m_strEvent;
    int m_nLogMode = 0;
    // The opener's text a picker hands its choice back into; null for a
    // form that is no picker.
    QString* m_pReturnSlot = nullptr;

    // The head as applied at opening.
    CFormHead m_head;

    CFormActions m_actions;

    // What printing reads of the controls (description ids) and does to them.
    QString ControlText(int id) const override;
    bool IsChecked(int id) const override;
    int TableRowCount(int id) const override;
    int TableHeaderCount(int id) const override;
    QString TableHeaderText(int id, int column) const override;
    QString TableItemText(int id, int row, int column) const override;
    void SetControlTextById(int id, const QString& text) override;
    void PostClick(int id) override;

    // The form's print description, print section and batch state.
    CFormPrinter m_printer;
    // The print-value list: the record keys a batch prints one job each
    // (filled by "query_to_print"; a cancelled job empties it).
    QStringList& m_printValues;

    // The form's own web session for post2_html, and the connection a
    // page that keeps its login open goes on using.
    HttpSession m_httpSession;
    std::unique_ptr<HttpConnection> m_httpConnection;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

public slots:
    void done(int result) override;

private:
    void OnInitDialog();
    void ApplyHead();
    void ApplyPosition();
    // Anchors the controls and joins the split pairs in the layout manager.
    void LayoutSplits();
    void PlaceWindow();
    void OnReinit();
    void OnTimer();
    // Ends the form as its waiting close says.
    void CarryOutClose();
    // A close that cannot happen now (an event runs, a picker or popup is
    // open) waits with its result; false when it may happen now.
    bool CloseMustWait(int result);
    void PostAfterEventWork();
    // After the running event of this form, or at once when none runs.
    void RunWhenEventIsOver(std::function<void()> work);
    struct WaitingEvent
    {
        QPointer<D_T1> form;
        int windowId = 0;
        QString event;
    };
    // The form whose event runs now, and the events of others waiting for it.
    static QPointer<D_T1>& RunningEventForm();
    static QPointer<QWidget>& MainWindow();
    static QList<WaitingEvent>& WaitingEvents();
    void WaitForRunningEvent(int windowId, const QString& event);
    static void PostWaitingEvents();
    // One search line over the HTML text: the passing elements' texts.
    bool FindHtmlNodeText(const QString& html, const QString& line, QWidget* target, QWidget* result);
    void CloseWork();
    // A picker or popup of this form is open (modal for it).
    bool HasOpenModalForm() const;
    // Carries out a close that waited for the event or the forms above it.
    void CloseWhenDeferred();

    void OnEditChange(int windowId);
    void OnCtrlKillFocus(int windowId);
    void RunNotifyRClick(int windowId);
    bool OnKeyPress(QObject* receiver, QKeyEvent* key);
    bool IsOwnKeyReceiver(QObject* receiver) const;
    CListCtrlEx* GridOfReceiver(QObject* receiver) const;
    // Clicks the control of function key number (1..24), on the outer form
    // when a page has none; false when neither has one.
    bool ClickHotKey(int number);

    std::unique_ptr<IFormBuilder> m_builder;
    std::unique_ptr<IFormEvents> m_events;
    std::unique_ptr<CFormScroller> m_scroller;
    CFormBackground m_background;
    CWndResizer m_resizer;
    // What the window frame took of the head's place when it became known.
    QSize m_frameTaken;
    QList<Control> m_controlList;
    QHash<const QObject*, int> m_ids;
    QHash<int, QList<QPointer<D_T1>>> m_pages;
    QTimer m_timer;
    // The head's draw method "1": frames drawn under the controls until the
    // form closes.
    QPointer<QvFormAnimation> m_animation;
    QList<std::function<void()>> m_afterEvent;
    // Where the head puts the whole window, and whether it still waits for
    // the frame to be known.
    QRect m_place;
    bool m_bPlaceOnFrame = false;
    FormLife m_life = FormLife::Open;
    // The close that waits (InEvent, Closing): the event's own request, or
    // the result another close asked for.
    struct WaitingClose
    {
        bool requested = false;
        int result = Rejected;
    };
    std::optional<WaitingClose> m_waitingClose;
};
