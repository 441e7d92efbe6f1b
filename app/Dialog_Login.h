#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class CButtonST;

// The first window: the login id (a list of the active users' ids, or typed)
// and the password, checked against view_c_user. Every attempt writes a row
// of the login log; a successful one fills the user of the application state
// and remembers the id in cfg.ini.
class Dialog_Login : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IdLoginId = 1105;
    static constexpr int IdPassword = 1102;
    static constexpr int IdSettings = 1081;
    static constexpr int IdHelp = 1082;
    static constexpr int IdOk = 1;
    static constexpr int IdCancel = 2;

    explicit Dialog_Login(QWidget* parent = nullptr);

    // The login list thread has handed its ids over (or found none).
    bool UserListLoaded() const { return m_bListLoaded; }

    QComboBox* m_comboLoginId = nullptr;
    QLineEdit* m_editPassword = nullptr;
    CButtonST* m_btnSettings = nullptr;
    CButtonST* m_btnHelp = nullptr;
    CButtonST* m_btnOk = nullptr;
    CButtonST* m_btnClose = nullptr;

signals:
    // Once, after the dialog's first picture is on the screen. The work that
    // can wait (the user list, the start-up worker, the updater's start
    // signal) starts then: on a machine of few cores it would otherwise
    // compete with the window's coming up.
    void FirstPainted();

public slots:
    void OnOK();
    void OnSettings();
    void OnHelp();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnInitDialog();
    void LoadUserList();
    void FillUserList(const QStringList& ids, bool loaded);
    CButtonST* CreateButton(int id, const QRect& rect, const QString& caption, const QIcon& icon,
                            const QString& tip);
    void WriteLoginLog(class CDbConnection& db, const QString& userUid, const QString& loginId);

    QString m_strLastLoginId;
    bool m_bListLoaded = false;
    bool m_bPainted = false;
};
