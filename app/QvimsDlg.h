#pragma once

#include <QDialog>

#include "widgets/WndResizer.h"

class CButtonST;
class CDbConnection;
class QMenu;
class QStatusBar;
class QTreeWidget;

// The main window, docked at the right edge of the screen: header buttons,
// the navigation tree (the menu entries the user's rights allow) and the
// favourites tree, one shown at a time. A double click on an entry opens its
// form; closing the window (after a question) ends the program.
class CQvimsDlg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IdNavTree = 1117;
    static constexpr int IdFavTree = 1155;
    static constexpr int IdRefresh = 1169;
    static constexpr int IdChangePassword = 1170;
    static constexpr int IdAbout = 57664;
    static constexpr int IdPublish = 1174;
    static constexpr int IdHelp = 1176;
    static constexpr int IdShowNav = 1171;
    static constexpr int IdShowFav = 1172;
    static constexpr int IdDetails = 1178;
    static constexpr int IdStatusBar = 59393;

    explicit CQvimsDlg(QWidget* parent = nullptr);
    ~CQvimsDlg() override;

    // Fills the tree with the entries the column ("auth_0" rights or
    // "auth1_0" favourites) of the logged-in user allows.
    void FillMenuTree(QTreeWidget* tree, const QString& column);
    void LoadTrees();

    QTreeWidget* m_treeNav = nullptr;
    QTreeWidget* m_treeFav = nullptr;
    CButtonST* m_btnShowNav = nullptr;
    CButtonST* m_btnShowFav = nullptr;
    CButtonST* m_btnDetails = nullptr;
    QStatusBar* m_statusBar = nullptr;

public slots:
    void OnRefreshTrees();
    void OnChangePassword();
    void OnPublishVersion();
    void OnHelp();
    void OnShowNavTree();
    void OnShowFavourites();
    void OnAbout();
    void OnNavMenuOpen();
    void OnFavMenuOpen();
    void OnAddFavourite();
    void OnRemoveFavourite();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnInitDialog();
    void CreateHeaderButtons();
    void InitLayout();
    void SetupResizer();
    void ShowTree(bool favourites);
    void ChangeFavourites(QTreeWidget* tree, bool add);
    QTreeWidget* CreateTree(int id);
    CButtonST* CreateButton(int id, const QRect& rect, const QIcon& icon, const QString& tip);

    std::unique_ptr<CDbConnection> m_db;
    QMenu* m_menuNav = nullptr;
    QMenu* m_menuFav = nullptr;
    CWndResizer m_resizer;
};
