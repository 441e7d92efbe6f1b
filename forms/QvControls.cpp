#include "QvControls.h"

#include "ControlNotifier.h"
#include "ControlText.h"
#include "D_T1.h"
#include "DropListBox.h"
#include "FormBrowse.h"
#include "FormTexts.h"
#include "LocaleDateTime.h"
#include "QvChart.h"
#include "QvGuiView.h"
#include "QvPicture.h"
#include "TextBoxInput.h"
#include "WindowStyles.h"
#include "grid/ListCtrlEx.h"
#include "text/ColorRectText.h"
#include "text/IniFile.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "text/TextSplit.h"
#include "widgets/ButtonST.h"
#include "widgets/FileEditCtrl.h"
#include "widgets/QvButton.h"
#include "widgets/QvStatic.h"
#include "widgets/QvTabCtrl.h"
#include "widgets/ShadeButtonST.h"
#include "widgets/WidgetImages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextOption>
#include <QTreeWidget>

#include <functional>

namespace {

constexpr int ScrambleKey = 1;
constexpr int DefaultPointSize = 9;
// The background of the paging arrows and of button image files.
constexpr COLORREF ArrowTransparent = 0xF8F8F8;

QString Text(const CXmlNode& element, const char* name)
{
    return element.GetAttribute(QString::fromLatin1(name));
}

int Number(const CXmlNode& element, const char* name)
{
    return element.GetAttributeInt(QString::fromLatin1(name), 0);
}

// Edits, lists and date controls hide above 0 and come to the top with 2;
// everything else hides for any non-zero value.
void ApplyHidden(QWidget* control, int hidden, bool editKind)
{
    if (editKind) {
        if (hidden > 0)
            control->hide();
        if (hidden == 2)
            control->raise();
    } else if (hidden != 0) {
        control->hide();
    }
}

// The edit-style bits of a one-line box (password, digits only, case,
// alignment and read-only) and the limit of what the user types into it.
void ApplyEditStyle(QLineEdit* edit, int style, int maxLength)
{
    if (style & WindowStyle::EditPassword)
        edit->setEchoMode(QLineEdit::Password);
    if (maxLength > 0 || (style & (WindowStyle::EditNumber | WindowStyle::EditUpperCase | WindowStyle::EditLowerCase)))
        edit->setValidator(new CTextBoxValidator(style, maxLength, edit));
    edit->setAlignment((style & WindowStyle::EditCenter)  ? Qt::AlignHCenter | Qt::AlignVCenter
                       : (style & WindowStyle::EditRight) ? Qt::AlignRight | Qt::AlignVCenter
                                                          : Qt::AlignLeft | Qt::AlignVCenter);
    if (style & WindowStyle::EditReadOnly)
        edit->setReadOnly(true);
}

QPushButton* NewPushButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    // Enter is the form's to handle, never a default button's.
    button->setAutoDefault(false);
    return button;
}

// A standard button window of the button style's type.
QWidget* NewStyledButton(int style, const QString& text, QWidget* parent)
{
    switch (style & WindowStyle::ButtonTypeMask) {
    case WindowStyle::ButtonCheckBox:
    case WindowStyle::ButtonAutoCheckBox:
        return new QCheckBox(text, parent);
    case WindowStyle::Button3State:
    case WindowStyle::ButtonAuto3State: {
        auto* box = new QCheckBox(text, parent);
        box->setTristate(true);
        return box;
    }
    case WindowStyle::ButtonRadio:
    case WindowStyle::ButtonAutoRadio:
        return new QRadioButton(text, parent);
    case WindowStyle::ButtonGroupBox:
        return new QGroupBox(text, parent);
    default:
        return NewPushButton(text, parent);
    }
}

// The owner-drawn button of "style" below 1: shaded when "maxlen" is set,
// with "img" (a paging arrow or an image file) and the colours of "color"
// and "shade".
CButtonST* NewOwnerDrawnButton(int style, const CXmlNode& element, QWidget* parent)
{
    const int maxLength = Number(element, "maxlen");
    const QString image = Text(element, "img");
    const QString colour = Text(element, "color");
    const QString shade = Text(element, "shade");
    CButtonST* button = nullptr;
    if (maxLength != 0) {
        auto* shaded = new CShadeButtonST(parent);
        shaded->SetShadeKind(maxLength == 2 ? CShadeButtonST::ShadeKind::Filled : CShadeButtonST::ShadeKind::Outline);
        button = shaded;
    } else {
        button = new CButtonST(parent);
    }
    button->setText(Text(element, "value"));
    button->setAutoDefault(false);
    button->PreSubclassWindow(unsigned(style | 0x50010000));
    button->SetTooltipText(Text(element, "desp"), true);
    if (maxLength == 0 && !image.isEmpty()) {
        static const QHash<QString, int> arrows = {{QStringLiteral("1"), IDB_PAGE_FIRST},
                                                   {QStringLiteral("2"), IDB_PAGE_PREVIOUS},
                                                   {QStringLiteral("3"), IDB_PAGE_NEXT},
                                                   {QStringLiteral("4"), IDB_PAGE_LAST}};
        if (arrows.contains(image)) {
            button->SetBitmapIds(arrows.value(image), ArrowTransparent, 0, 0);
        } else {
            const QString path = image.startsWith(QStringLiteral("http")) ? image : GetModuleFolder() + image;
            button->SetBitmapFile(path, ArrowTransparent, CButtonST::ST_ALIGN_HORIZ);
        }
        button->SetTransparent(true, false);
    }
    button->SetColor(CButtonST::BTNST_COLOR_FG_FOCUS, MakeColorRef(0, 0, 128));
    button->SetColor(CButtonST::BTNST_COLOR_FG_IN, MakeColorRef(0, 128, 0));
    if (!colour.isEmpty())
        button->SetColor(CButtonST::BTNST_COLOR_FG_OUT, ParseRgbText(colour));
    if (shade.isEmpty()) {
        button->SetTransparent(true, false);
    } else if (shade == u"1") {
        if (!colour.isEmpty()) {
            const COLORREF fill = ParseRgbText(colour);
            button->SetColor(CButtonST::BTNST_COLOR_BK_IN, fill);
            button->SetColor(CButtonST::BTNST_COLOR_BK_OUT, fill);
            button->SetColor(CButtonST::BTNST_COLOR_FG_IN, 0);
            button->SetColor(CButtonST::BTNST_COLOR_FG_OUT, 0);
            button->SetColor(CButtonST::BTNST_COLOR_BK_FOCUS, fill);
        }
    } else {
        const COLORREF fill = ParseRgbText(shade);
        button->SetColor(CButtonST::BTNST_COLOR_BK_IN, fill);
        button->SetColor(CButtonST::BTNST_COLOR_BK_OUT, fill);
        if (!colour.isEmpty()) {
            const COLORREF text = ParseRgbText(colour);
            button->SetColor(CButtonST::BTNST_COLOR_FG_IN, text);
            button->SetColor(CButtonST::BTNST_COLOR_FG_OUT, text);
            button->SetColor(CButtonST::BTNST_COLOR_FG_FOCUS, text);
        }
        button->SetColor(CButtonST::BTNST_COLOR_BK_FOCUS, fill);
    }
    button->SetFlatFocus(true, true);
    return button;
}

} // namespace

QvControls::QvControls()
{
    m_defaultFont = QApplication::font();
    m_strDefaultFace = m_defaultFont.family();
    if (m_strDefaultFace.isEmpty())
        m_defaultFont = CreateSizedFont(DefaultPointSize, FormTexts::DefaultFace);
    const QString stored = ReadIniString(FormTexts::IniFile, FormTexts::IniServerSection, FormTexts::IniConnectionKey);
    m_db.SetConnectString(UnscrambleText(stored, ScrambleKey));
}

std::unique_ptr<IFormBuilder> QvControls::NewForForm() const
{
    return std::make_unique<QvControls>();
}

QFont QvControls::CreateSizedFont(int size, const QString& face) const
{
    QFont font(face.isEmpty() ? m_strDefaultFace : face);
    font.setPixelSize(qMax(1, size * 4 / 3));
    font.setWeight(QFont::Normal);
    return font;
}

std::optional<QFont> QvControls::CreateFontFromSpec(const QString& spec) const
{
    if (spec.isEmpty())
        return std::nullopt;
    QStringList parts;
    SplitString(spec, QStringLiteral(","), parts);
    // Three parts or more have no size of this format; the face falls back.
    const QString face = parts.size() == 2 ? parts[1] : QString();
    return CreateSizedFont(TextToInt(parts[0]), face);
}

void QvControls::Build(D_T1& form)
{
    const CXmlNode root = form.m_pDoc ? CXmlNode(form.m_pDoc->GetRoot()) : CXmlNode();
    if (root.IsNull() || root.GetAttribute(QStringLiteral("id")) == u"-1")
        return;
    const CXmlNode body = root.GetChild(QStringLiteral("body"), true);
    const CXmlNode dialog = body.GetChild(QStringLiteral("dialog"), true);
    CreateControls(dialog.GetChildren(), form);
}

void QvControls::CreateControls(const CXmlNodes& elements, D_T1& form)
{
    using Creator = void (QvControls::*)(D_T1&, const CXmlNode&);
    static const QList<QPair<QString, Creator>> creators = {
        {QStringLiteral("textbox"), &QvControls::CreateTextBox},
        {QStringLiteral("button"), &QvControls::CreateButton},
        {QStringLiteral("static"), &QvControls::CreateStatic},
        {QStringLiteral("pic"), &QvControls::CreatePicture},
        {QStringLiteral("gui"), &QvControls::CreateGuiView},
        {QStringLiteral("editbutton"), &QvControls::CreateEditButton},
        {QStringLiteral("table"), &QvControls::CreateTable},
        {QStringLiteral("droplist"), &QvControls::CreateDropList},
        {QStringLiteral("datectrl"), &QvControls::CreateDateCtrl},
        {QStringLiteral("panel"), &QvControls::CreatePanel},
        {QStringLiteral("tree"), &QvControls::CreateTree},
        {QStringLiteral("treelist"), &QvControls::CreateTreeList},
        {QStringLiteral("qvbutton"), &QvControls::CreateQvButton},
    };
    for (int i = 0; i < elements.GetCount(); ++i) {
        const CXmlNode element = elements[i];
        const QString tag = element.GetName();
        for (const auto& [name, creator] : creators) {
            if (tag == name) {
                (this->*creator)(form, element);
                break;
            }
        }
    }
    // The column editors are looked up once every control is there: a
    // column may name an editor the description gives after its table.
    // Looked up at the table, such a column had no editor, and a new row's
    // first cell (addrow) opened none, leaving the keys to the button.
    for (const ColumnEditor& editor : std::exchange(m_columnEditors, {})) {
        if (editor.grid)
            editor.grid->SetColumnEditor(editor.column, &QvControls::ShowCellInEditor, &QvControls::StoreEditorInCell,
                                         form.GetDlgItem(editor.editorId + D_T1::ControlIdBase));
    }
}

void QvControls::Place(D_T1& form, QWidget* control, const CXmlNode& element) const
{
    const RectLTRB pos = ParseRectText(Text(element, "pos"));
    control->setGeometry(pos.left, pos.top, qMax(0, pos.width()), qMax(0, pos.height()));
    form.AddControl(Number(element, "id"), element.GetName(), control, element);
}

void QvControls::ApplyFont(QWidget* control, const CXmlNode& element) const
{
    const std::optional<QFont> font = CreateFontFromSpec(Text(element, "font"));
    control->setFont(font ? *font : m_defaultFont);
}

void QvControls::CreateStatic(D_T1& form, const CXmlNode& element)
{
    const int style = Number(element, "style");
    auto* label = new CQvStatic(&form);
    Place(form, label, element);
    ApplyFont(label, element);
    Qt::Alignment alignment = Qt::AlignTop;
    const int type = style & WindowStyle::StaticTypeMask;
    alignment |= type == WindowStyle::StaticCenter ? Qt::AlignHCenter
                 : type == WindowStyle::StaticRight ? Qt::AlignRight
                                                    : Qt::AlignLeft;
    if (style & WindowStyle::StaticCenterImage)
        alignment = (alignment & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
    label->setAlignment(alignment);
    label->setWordWrap(type <= WindowStyle::StaticRight);
    const QString colour = Text(element, "color");
    if (!colour.isEmpty())
        label->SetTextColor(ParseRgbText(colour));
    const QString value = Text(element, "value");
    if (!value.isEmpty())
        label->setText(form.ExpandPlaceholders(value));
    ApplyHidden(label, Number(element, "hidden"), false);
}

void QvControls::CreateQvButton(D_T1& form, const CXmlNode& element)
{
    auto* button = new CQvButton(&form);
    button->setAutoDefault(false);
    Place(form, button, element);
    ApplyFont(button, element);
    const QString value = Text(element, "value");
    if (!value.isEmpty())
        button->setText(form.ExpandPlaceholders(value));
    ApplyHidden(button, Number(element, "hidden"), false);
    ControlNotifier::HookButton(form, form.GetDlgCtrlID(button), button);
}

void QvControls::CreatePicture(D_T1& form, const CXmlNode& element)
{
    auto* picture = new QvPicture(&form);
    picture->setWindowTitle(Text(element, "value"));
    Place(form, picture, element);
    ApplyHidden(picture, Number(element, "hidden"), false);
}

void QvControls::CreateGuiView(D_T1& form, const CXmlNode& element)
{
    auto* view = new QvGuiView(Text(element, "value"), &form);
    Place(form, view, element);
    ApplyHidden(view, Number(element, "hidden"), false);
}

void QvControls::CreateButton(D_T1& form, const CXmlNode& element)
{
    const QString value = Text(element, "value");
    const int hidden = Number(element, "hidden");
    const bool disabled = Number(element, "disabled") == 1;
    if (Number(element, "popup") == 1) {
        auto* link = new QLabel(value, &form);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setEnabled(!disabled);
        Place(form, link, element);
        ApplyHidden(link, hidden, false);
        ApplyFont(link, element);
        const int windowId = form.GetDlgCtrlID(link);
        QObject::connect(link, &QLabel::linkActivated, &form,
                         [&form, windowId] { form.Notify(windowId, FormNotify::Clicked); });
        return;
    }
    const int style = Number(element, "style");
    QWidget* button = style >= 1 ? NewStyledButton(style, value, &form) : NewOwnerDrawnButton(style, element, &form);
    Place(form, button, element);
    button->setEnabled(!disabled);
    ApplyHidden(button, hidden, false);
    ApplyFont(button, element);
    if (auto* clickable = qobject_cast<QAbstractButton*>(button))
        ControlNotifier::HookButton(form, form.GetDlgCtrlID(button), clickable);
}

void QvControls::CreateTextBox(D_T1& form, const CXmlNode& element)
{
    const int given = Number(element, "style");
    const int style = given == 4   ? WindowStyle::TextBoxMultiLine
                      : given == 5 ? WindowStyle::TextBoxCentredMultiLine
                                   : given | 0x50010080;
    const QString value = form.ExpandPlaceholders(Text(element, "value"));
    const bool readOnly = Number(element, "readonly") != 0 || (style & WindowStyle::EditReadOnly);
    const int maxLength = Number(element, "maxlen");
    QWidget* control = nullptr;
    if (style & WindowStyle::EditMultiLine) {
        auto* edit = new QPlainTextEdit(&form);
        // Without a horizontal bar or automatic scrolling long lines wrap.
        const bool wraps = !(style & (WindowStyle::HorizontalScroll | 0x80));
        edit->setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        edit->setVerticalScrollBarPolicy((style & WindowStyle::VerticalScroll) ? Qt::ScrollBarAlwaysOn
                                                                                : Qt::ScrollBarAsNeeded);
        edit->setHorizontalScrollBarPolicy((style & WindowStyle::HorizontalScroll) ? Qt::ScrollBarAlwaysOn
                                                                                    : Qt::ScrollBarAsNeeded);
        if (style & WindowStyle::EditCenter)
            edit->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
        edit->setReadOnly(readOnly);
        edit->setPlainText(value);
        if (maxLength > 0)
            LimitTyping(edit, maxLength);
        control = edit;
    } else {
        auto* edit = new QLineEdit(&form);
        ApplyEditStyle(edit, style, maxLength);
        edit->setReadOnly(readOnly);
        edit->setText(value);
        control = edit;
    }
    Place(form, control, element);
    ApplyFont(control, element);
    ApplyHidden(control, Number(element, "hidden"), true);
    const int windowId = form.GetDlgCtrlID(control);
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        ControlNotifier::HookEdit(form, windowId, edit);
    else
        ControlNotifier::HookTextEdit(form, windowId, static_cast<QPlainTextEdit*>(control));
}

void QvControls::CreateDropList(D_T1& form, const CXmlNode& element)
{
    const int style = Number(element, "style") | 0x50210042;
    auto* list = new CDropListBox(&form);
    list->setEditable((style & WindowStyle::ComboTypeMask) != WindowStyle::ComboDropDownList);
    Place(form, list, element);
    ApplyFont(list, element);
    const QString value = Text(element, "value");
    if (!value.isEmpty()) {
        QStringList items;
        SplitAtChar(form.ExpandPlaceholders(value), QStringLiteral(";"), items);
        list->addItems(items);
    }
    list->setCurrentIndex(-1);
    ApplyHidden(list, Number(element, "hidden"), true);
    ControlNotifier::HookDropList(form, form.GetDlgCtrlID(list), list);
}

void QvControls::CreateDateCtrl(D_T1& form, const CXmlNode& element)
{
    auto* date = new QDateTimeEdit(QDate::currentDate(), &form);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    Place(form, date, element);
    if (Number(element, "readonly") != 0)
        date->setEnabled(false);
    ApplyFont(date, element);
    QDateTime value;
    if (ParseLocaleDateTime(Text(element, "value"), value))
        date->setDateTime(value);
    ApplyHidden(date, Number(element, "hidden"), true);
}

void QvControls::CreateEditButton(D_T1& form, const CXmlNode& element)
{
    auto* box = new CFileEditCtrl(&form);
    box->m_pOwnerForm = &form;
    box->m_nOpenBelow = Number(element, "shade");
    ApplyEditStyle(box, Number(element, "style"), Number(element, "maxlen"));
    Place(form, box, element);
    if (Number(element, "readonly") != 0)
        box->setReadOnly(true);
    ApplyFont(box, element);
    const QString popup = Text(element, "popup");
    if (popup == u"0")
        box->SetButtonWidth(0);
    const QString textColour = Text(element, "img");
    const QString background = Text(element, "color");
    if (!textColour.isEmpty())
        box->SetTextColor(ParseRgbText(textColour));
    if (!background.isEmpty())
        box->SetBackgroundColor(ParseRgbText(background));
    box->setText(Text(element, "value"));
    box->SetButtonImage(LoadWidgetImage(IDI_BROWSE), CPJAImage::ImageIcon, CPJAImage::NoTransparentColor);
    if (popup.isEmpty()) {
        box->m_nBrowseKind = CFileEditCtrl::BrowseTextDialog;
    } else {
        box->m_nBrowseKind = CFileEditCtrl::BrowseFormPicker;
        box->m_strPopup = popup;
        const CXmlNode parent = element.GetParent();
        const CXmlNode body = parent.IsNull() ? CXmlNode() : CXmlNode(parent.GetParent());
        box->m_strSubForm = body.IsNull() ? QStringLiteral("<html id='-1'></html>")
                                          : CXmlNode(CFormDescription::FindPopupForm(body, popup)).GetXml();
        // Any "readonly" text, "0" included, locks a picker's box.
        if (!Text(element, "readonly").isEmpty()) {
            box->setReadOnly(true);
            box->SetButtonWidth(0);
        }
        ApplyHidden(box, Number(element, "hidden"), true);
    }
    box->SetBrowseHandler(BrowseEditBox);
    ControlNotifier::HookEdit(form, form.GetDlgCtrlID(box), box);
}

void QvControls::CreateTable(D_T1& form, const CXmlNode& element)
{
    auto* grid = new CListCtrlEx(&form);
    grid->SetOwnerForm(&form);
    const int tableId = Number(element, "id");
    grid->SetSaveIds(form.m_strMenuUid.toInt(), tableId);
    Place(form, grid, element);
    ApplyFont(grid, element);
    const CXmlNode para = element.GetChild(QStringLiteral("PARA"), true);
    const CXmlNode tableInfo = para.GetChild(QStringLiteral("table_info"), true);
    const CXmlNodes infos = tableInfo.GetChildren();
    if (infos.GetCount() > 0)
        grid->SetZebraOff(CXmlNode(infos[0]).GetAttribute(QStringLiteral("is_col_color"), QStringLiteral("0")) != u"0");
    ApplyHidden(grid, Number(element, "hidden"), false);

    const CXmlNodes columns = CXmlNode(para.GetChild(QStringLiteral("col_info"), true)).GetChildren();
    int n = 0;
    for (int i = 0; i < columns.GetCount(); ++i) {
        const CXmlNode column = columns[i];
        if (Number(column, "col_id") != 0 || Number(column, "id") == 0)
            continue;
        if (const int editorId = Number(column, "hidden_wnd"))
            m_columnEditors.push_back(ColumnEditor{grid, n, editorId});
        int width = Number(column, "width");
        // A column of width 0 stays hidden whatever was saved for it.
        const int saved = grid->ReadColumnWidth(n);
        if (saved >= 0 && width > 0)
            width = saved;
        grid->InsertColumn(n, Text(column, "title"), Number(column, "format"), width);
        const QString back = Text(column, "color_bg");
        const QString text = Text(column, "color_text");
        grid->SetColumnColors(n, back.isEmpty() ? MakeColorRef(255, 255, 255) : ParseRgbText(back),
                              text.isEmpty() ? 0 : ParseRgbText(text));
        static const QHash<int, int> compareKinds = {{1, 5}, {2, 2}, {3, 7}};
        const int sort = Number(column, "sort");
        if (compareKinds.contains(sort))
            grid->SetColumnSort(n, kSortToggles, compareKinds.value(sort));
        ++n;
    }
    ControlNotifier::HookItemView(form, form.GetDlgCtrlID(grid), grid);
}

int QvControls::ShowCellInEditor(QWidget** editor, int row, int column, const QString& text, void*,
                                 CListCtrlEx* grid, int)
{
    QWidget* window = editor ? *editor : nullptr;
    if (auto* box = qobject_cast<CFileEditCtrl*>(window)) {
        box->m_pOwnerGrid = grid;
        box->m_nOwnerRow = row;
        box->m_nOwnerColumn = column;
        box->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(window)) {
        if (list->isEditable())
            list->setEditText(text);
        else
            list->setCurrentIndex(list->findText(text, Qt::MatchStartsWith));
    } else if (auto* date = qobject_cast<QDateTimeEdit*>(window)) {
        QDateTime value;
        if (ParseLocaleDateTime(text, value))
            date->setDateTime(value);
    } else if (auto* edit = qobject_cast<QLineEdit*>(window)) {
        edit->setText(text);
        edit->setSelection(text.size(), -text.size());
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(window)) {
        edit->setPlainText(text);
        edit->selectAll();
    }
    return 1;
}

int QvControls::StoreEditorInCell(QWidget** editor, int row, int column, QString& text, void*, CListCtrlEx* grid,
                                  int commit)
{
    QWidget* window = editor ? *editor : nullptr;
    if (!window || !grid || !commit)
        return 0;
    const QString edited = CFormActions::GetWindowValue(window);
    // An unchanged text is no edit: the row keeps its state, no ENDEDIT runs.
    if (edited == text)
        return 0;
    if (ItemData* record = grid->GetRowKey(row); record && record->nState != kRowNew)
        record->nState = kRowChanged;
    grid->SetItemText(row, column, edited);
    text = edited;
    if (auto* form = qobject_cast<D_T1*>(grid->GetOwnerForm()))
        form->FireEndEdit(form->GetDlgCtrlID(grid), row, column);
    return 1;
}

void QvControls::CreateTreeList(D_T1& form, const CXmlNode& element)
{
    auto* chart = new QvChart(&form);
    chart->setWindowTitle(FormTexts::TreeListTitle);
    Place(form, chart, element);
    ApplyHidden(chart, Number(element, "hidden"), false);
    QvTree& header = chart->Header();
    header.m_strKey = QStringLiteral("root");
    header.m_nLeft = 0;
    header.m_nTop = 0;
    const CXmlNode para = element.GetChild(QStringLiteral("PARA"), true);
    const CXmlNodes columns = CXmlNode(para.GetChild(QStringLiteral("head_info"), true)).GetChildren();
    for (int i = 0; i < columns.GetCount(); ++i)
        BuildHeaderNode(columns[i], header);
    chart->CollectLeafColumns(&header);
    QPointer<D_T1> owner(&form);
    chart->SetControlFinder([owner](int windowId) { return owner ? owner->GetDlgItem(windowId) : nullptr; });
}

void QvControls::BuildHeaderNode(const CXmlNode& element, QvTree& parent)
{
    QvTree node;
    node.m_nWidth = Number(element, "width");
    node.m_nHeight = Number(element, "height");
    const int button = Number(element, "menu_id");
    node.m_nNumber = button >= 1 ? button : parent.m_nNumber;
    node.m_item.m_nKind = qMax(Number(element, "type"), parent.m_item.m_nKind);
    node.SetText(Text(element, "title"));
    QvTree* child = parent.AddChild(node);
    const CXmlNodes children = element.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i)
        BuildHeaderNode(children[i], *child);
}

void QvControls::CreatePanel(D_T1& form, const CXmlNode& element)
{
    auto* tabs = new CQvTabCtrl(&form);
    Place(form, tabs, element);
    tabs->setFont(m_defaultFont);
    const int windowId = form.GetDlgCtrlID(tabs);
    const CXmlNodes children = element.GetChildren();
    for (int i = 0; i < children.GetCount(); ++i) {
        const CXmlNode child = children[i];
        if (child.GetName() != u"html")
            continue;
        D_T1* page = form.NewSubForm(tabs, true);
        page->m_strFormId = Text(child, "id");
        page->LoadDescription(child.GetXml());
        form.AddPage(windowId, page);
        tabs->AddPage(page, Text(child, "title"), unsigned(Number(child, "id")));
    }
    tabs->SetPageCreator([](QWidget* page, int) { static_cast<D_T1*>(page)->Create(); });
    tabs->CreatePages();
}

void QvControls::CreateTree(D_T1& form, const CXmlNode& element)
{
    auto* tree = new QTreeWidget(&form);
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    Place(form, tree, element);
    ControlNotifier::HookItemView(form, form.GetDlgCtrlID(tree), tree);
}
