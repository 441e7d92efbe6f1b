#include "QvimsDlg.h"

#include "AboutDlg.h"
#include "AppTexts.h"
#include "Dialog_Change_Pass.h"
#include "FavouriteList.h"
#include "ShellButtons.h"
#include "ShellHelpers.h"
#include "ShellPictures.h"
#include "ShellUpdateSeams.h"
#include "StoredFormOpener.h"
#include "VersionPublisher.h"
#include "db/DbConnection.h"
#include "text/AppState.h"
#include "text/IniFile.h"
#include "text/MessageSink.h"
#include "text/ModuleFolder.h"
#include "text/TextScramble.h"
#include "text/TreeItems.h"
#include "web/ModuleVersion.h"
#include "web/ShellOpen.h"
#include "widgets/ButtonST.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QStyle>
#include <QTreeWidget>
#include <QWindow>

namespace {

constexpr int kTreeTop = 80;
constexpr int kWindowWidth = 305;
constexpr int kBottomButton = 30;
constexpr int kStatusBar = 20;
const QColor kBand(255, 236, 214);
const QColor kHeader(240, 240, 240);

bool IsAdministrator()
{
    return theApp().m_strUserUid == AppText::AdministratorUid;
}

// The user uid goes into SQL text unquoted: only its number does.
QString UserUidNumber()
{
    return QString::number(theApp().m_strUserUid.toLongLong());
}

// The menu trees' rows are a tenth taller than the style makes them.
class TallerRows : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(int(size.height() * 1.1));
        return size;
    }
};

} // namespace

CQvimsDlg::CQvimsDlg(QWidget* parent)
    : QDialog(parent), m_db(std::make_unique<CDbConnection>())
{
    m_db->Configure();
    setWindowTitle(AppText::MainTitle);
    setWindowIcon(ShellPictures::AppIcon());
    m_treeNav = CreateTree(IdNavTree);
    m_treeFav = CreateTree(IdFavTree);
    m_btnDetails = CreateShellButton(this, IdDetails, QRect(), AppText::CompanyButton, QIcon(), AppText::DetailsTip);
    connect(m_btnDetails, &CButtonST::clicked, this, &CQvimsDlg::OnAbout);
    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QString::number(IdStatusBar));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setStyleSheet(QStringLiteral("QStatusBar { border-top: 1px solid palette(mid); background: palette(window); }"));
    OnInitDialog();
}

CQvimsDlg::~CQvimsDlg() = default;

QTreeWidget* CQvimsDlg::CreateTree(int id)
{
    auto* tree = new QTreeWidget(this);
    tree->setObjectName(QString::number(id));
    tree->setHeaderHidden(true);
    tree->setItemDelegate(new TallerRows(tree));
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    tree->setExpandsOnDoubleClick(true);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [tree](QTreeWidgetItem* item) {
        tree->setCurrentItem(item);
        OpenSelectedMenuForm(tree);
    });
    connect(tree, &QTreeWidget::customContextMenuRequested, this, [this, tree](const QPoint& pos) {
        QTreeWidgetItem* item = tree->itemAt(pos);
        if (!item)
            return;
        tree->setCurrentItem(item);
        (tree == m_treeNav ? m_menuNav : m_menuFav)->exec(tree->viewport()->mapToGlobal(pos));
    });
    return tree;
}

CButtonST* CQvimsDlg::CreateButton(int id, const QRect& rect, const QIcon& icon, const QString& tip)
{
    return CreateShellButton(this, id, rect, QString(), icon, tip);
}

void CQvimsDlg::OnInitDialog()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    setGeometry(screen.width() - 325, 50, kWindowWidth, screen.height() - 250);
    setMinimumSize(260, 400);
    CreateHeaderButtons();
    InitLayout();

    m_menuNav = new QMenu(this);
    m_menuNav->addAction(AppText::MenuOpen, this, &CQvimsDlg::OnNavMenuOpen);
    m_menuNav->addAction(AppText::MenuAddFavourite, this, &CQvimsDlg::OnAddFavourite);
    m_menuFav = new QMenu(this);
    m_menuFav->addAction(AppText::MenuOpen, this, &CQvimsDlg::OnFavMenuOpen);
    m_menuFav->addAction(AppText::MenuRemoveFavourite, this, &CQvimsDlg::OnRemoveFavourite);

    if (ReadIniString(AppText::IniFile, AppText::IniSection, AppText::IniTreeButton) == QStringLiteral("2"))
        ShowTree(true);
}

void CQvimsDlg::CreateHeaderButtons()
{
    QStyle* style = QApplication::style();
    const bool administrator = IsAdministrator();
    connect(CreateButton(IdRefresh, QRect(10, 6, 40, 36), style->standardIcon(QStyle::SP_BrowserReload),
                         AppText::RefreshTip),
            &CButtonST::clicked, this, &CQvimsDlg::OnRefreshTrees);
    connect(CreateButton(IdChangePassword, QRect(55, 6, 40, 36), style->standardIcon(QStyle::SP_DialogResetButton),
                         AppText::ChangePassTip),
            &CButtonST::clicked, this, &CQvimsDlg::OnChangePassword);
    if (administrator) {
        connect(CreateButton(IdAbout, QRect(100, 6, 40, 36), style->standardIcon(QStyle::SP_MessageBoxInformation),
                             AppText::AboutTip),
                &CButtonST::clicked, this, &CQvimsDlg::OnAbout);
        connect(CreateButton(IdPublish, QRect(145, 6, 40, 36), style->standardIcon(QStyle::SP_ArrowUp),
                             AppText::PublishTip),
                &CButtonST::clicked, this, &CQvimsDlg::OnPublishVersion);
    }
    connect(CreateButton(IdHelp, administrator ? QRect(250, 6, 40, 36) : QRect(100, 6, 40, 36),
                         style->standardIcon(QStyle::SP_DialogHelpButton), AppText::SupportTip),
            &CButtonST::clicked, this, &CQvimsDlg::OnHelp);

    const auto createSwitch = [this](int id, const QRect& rect, const QString& caption, const QString& tip) {
        CButtonST* button = CreateShellButton(this, id, rect, caption, QIcon(), tip, CButtonST::CheckBoxStyleBit);
        button->SetDrawBorder(false);
        return button;
    };
    m_btnShowNav = createSwitch(IdShowNav, QRect(0, 50, 120, 26), AppText::NavCaption, AppText::NavTip);
    m_btnShowFav = createSwitch(IdShowFav, QRect(125, 50, 120, 26), AppText::FavCaption, AppText::FavTip);
    m_btnShowNav->SetCheck(true);
    connect(m_btnShowNav, &CButtonST::clicked, this, &CQvimsDlg::OnShowNavTree);
    connect(m_btnShowFav, &CButtonST::clicked, this, &CQvimsDlg::OnShowFavourites);
}

void CQvimsDlg::InitLayout()
{
    LoadTrees();
    const int w = width();
    const int h = height();
    for (QTreeWidget* tree : {m_treeNav, m_treeFav})
        tree->setGeometry(0, kTreeTop, w, h - kTreeTop - kBottomButton - kStatusBar);
    m_treeFav->hide();
    m_btnDetails->setGeometry(0, h - kBottomButton - kStatusBar, w, kBottomButton);
    m_statusBar->setGeometry(0, h - kStatusBar, w, kStatusBar);
    m_btnDetails->setFont(QApplication::font("QMessageBoxLabel"));
    SetupResizer();
}

void CQvimsDlg::SetupResizer()
{
    m_resizer.Hook(this, [this](int id) { return findChild<QWidget*>(QString::number(id)); });
    m_resizer.SetAnchor(IdNavTree, CWndResizer::ANCHOR_ALL);
    m_resizer.SetAnchor(IdFavTree, CWndResizer::ANCHOR_ALL);
    m_resizer.SetAnchor(IdHelp, CWndResizer::ANCHOR_TOP | CWndResizer::ANCHOR_RIGHT);
    m_resizer.SetAnchor(IdDetails, CWndResizer::ANCHOR_LEFT | CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_BOTTOM);
    m_resizer.SetAnchor(IdStatusBar, CWndResizer::ANCHOR_LEFT | CWndResizer::ANCHOR_RIGHT | CWndResizer::ANCHOR_BOTTOM);
    m_resizer.SetShowResizeGrip(true);
    m_resizer.InvokeOnResized();
}

void CQvimsDlg::LoadTrees()
{
    if (!m_db->Connect())
        return;
    FillMenuTree(m_treeNav, AppText::NavColumn);
    if (m_treeNav->topLevelItemCount() > 0)
        m_treeNav->scrollToItem(m_treeNav->topLevelItem(0));
    FillMenuTree(m_treeFav, AppText::FavColumn);
    m_db->Close();
    ExpandTreeItems(m_treeFav, nullptr, true);
    if (m_treeFav->topLevelItemCount() > 0)
        m_treeFav->scrollToItem(m_treeFav->topLevelItem(0));
}

void CQvimsDlg::FillMenuTree(QTreeWidget* tree, const QString& column)
{
    tree->clear();
    const bool navigation = column == AppText::NavColumn;
    const QString& kind = theApp().m_strDbType;
    QString sql;
    QVariantList bound;
    if (navigation && IsAdministrator()) {
        sql = AppText::WholeTree;
    } else if (kind == QStringLiteral("1")) {
        sql = (navigation ? AppText::NavTreeSqlServer : AppText::FavTreeSqlServer).arg(UserUidNumber());
    } else {
        QStringList rights;
        QStringList favourites;
        m_db->QueryAllToList(AppText::SelectRights.arg(UserUidNumber()), rights);
        m_db->QueryAllToList(AppText::SelectFavourites.arg(UserUidNumber()), favourites);
        bound.append(u',' + rights.value(0) + u',');
        if (!navigation)
            bound.append(u',' + favourites.value(0) + u',');
        const bool sqlite = kind == QStringLiteral("2");
        sql = navigation ? (sqlite ? AppText::NavTreeSqlite : AppText::NavTreePostgreSql)
                         : (sqlite ? AppText::FavTreeSqlite : AppText::FavTreePostgreSql);
    }
    QStringList rows;
    if (m_db->QueryAllToList(sql, rows, bound) <= 0)
        return;
    int previousParent = -1;
    QTreeWidgetItem* parent = nullptr;
    for (qsizetype i = 0; i + 3 < rows.size(); i += 4) {
        const int parentUid = rows.at(i).toInt();
        if (parentUid != previousParent) {
            parent = parentUid == 0 ? nullptr : FindTreeItemByData(tree, tree->topLevelItem(0), parentUid);
            previousParent = parentUid;
        }
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, rows.at(i + 2));
        item->setData(0, kTreeItemDataRole, rows.at(i + 3).toInt());
        item->setIcon(0, rows.at(i + 1) == QStringLiteral("1") ? ShellPictures::LeafIcon() : ShellPictures::FolderIcon());
    }
}

void CQvimsDlg::ChangeFavourites(QTreeWidget* tree, bool add)
{
    QTreeWidgetItem* item = tree->currentItem();
    if (!item)
        return;
    const QString uid = QString::number(item->data(0, kTreeItemDataRole).toInt());
    if (!m_db->Connect())
        return;
    QString list;
    const QString user = UserUidNumber();
    if (m_db->QueryValue(AppText::SelectUserFavourites, list, {user.toLongLong()})) {
        const QString changed = add ? AddFavourite(list, uid) : RemoveFavourite(list, uid);
        m_db->ExecuteCommand(AppText::UpdateFavourites, {changed, user.toLongLong()});
    }
    FillMenuTree(m_treeFav, AppText::FavColumn);
    ExpandTreeItems(m_treeFav, nullptr, true);
    m_db->Close();
}

void CQvimsDlg::OnAddFavourite()
{
    ChangeFavourites(m_treeNav, true);
}

void CQvimsDlg::OnRemoveFavourite()
{
    ChangeFavourites(m_treeFav, false);
}

void CQvimsDlg::OnRefreshTrees()
{
    LoadTrees();
}

void CQvimsDlg::OnPublishVersion()
{
    CShellUpdateSeams seams(GetModuleFolder());
    CVersionPublisher publisher(GetModuleFolder(), GetModulePath(), GetFileVersionText(QString()),
                                GetFileTimeText(GetModulePath()),
                                UnscrambleText(theApp().m_strConnectText, 1), seams);
    publisher.PublishNewVersion();
}

void CQvimsDlg::OnChangePassword()
{
    Dialog_Change_Pass dialog(this);
    dialog.exec();
}

void CQvimsDlg::OnHelp()
{
    OpenHelpPage(QStringLiteral("dh"));
}

void CQvimsDlg::ShowTree(bool favourites)
{
    m_treeNav->setVisible(!favourites);
    m_treeFav->setVisible(favourites);
    m_btnShowNav->SetCheck(!favourites);
    m_btnShowFav->SetCheck(favourites);
}

void CQvimsDlg::OnShowNavTree()
{
    WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniTreeButton, QStringLiteral("1"));
    ShowTree(false);
}

void CQvimsDlg::OnShowFavourites()
{
    WriteIniString(AppText::IniFile, AppText::IniSection, AppText::IniTreeButton, QStringLiteral("2"));
    ShowTree(true);
}

void CQvimsDlg::OnAbout()
{
    CAboutDlg about(this);
    about.exec();
}

void CQvimsDlg::OnNavMenuOpen()
{
    OpenSelectedMenuForm(m_treeNav);
}

void CQvimsDlg::OnFavMenuOpen()
{
    OpenSelectedMenuForm(m_treeFav);
}

void CQvimsDlg::reject()
{
    // Escape does not close the main window; only the close box does.
}

void CQvimsDlg::closeEvent(QCloseEvent* event)
{
    if (!AskYesNo(AppText::CloseQuestion, AppText::CloseCaption + theApp().m_strUserName)) {
        event->ignore();
        return;
    }
    event->accept();
    done(Accepted);
}

void CQvimsDlg::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && !event->modifiers().testFlag(Qt::ControlModifier)) {
        focusNextChild();
        return;
    }
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void CQvimsDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(0, 50, width(), 26, kBand);
    FillVerticalGradient(painter, 0, 0, width(), 50, kHeader, kHeader, 1);
}

void CQvimsDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    QDialog::mousePressEvent(event);
}
