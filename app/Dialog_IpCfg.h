#pragma once

#include <QDialog>

#include <functional>

class QAbstractButton;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Chooses the database: a SQL Server instance (kind 1), a PostgreSQL
// instance (kind 3) or an Access database file (kind 2, an SQLite file here).
// The connection is tested before anything is stored; the scrambled text then
// goes into cfg.ini and the program starts again with it.
class Dialog_IpCfg : public QDialog
{
    Q_OBJECT

public:
    static constexpr int IdNetwork = 1168;
    static constexpr int IdPostgreSql = 1170;
    static constexpr int IdAccess = 1169;

    explicit Dialog_IpCfg(QWidget* parent = nullptr);

    // What the saved settings do next with the running program's file; the
    // program's own restarts it.
    using Restarter = std::function<void(const QString& programPath)>;
    static void SetRestarter(Restarter restarter);

    int m_nKind = 1;
    QRadioButton* m_radioNetwork = nullptr;
    QPushButton* m_btnPostgreSql = nullptr;
    QRadioButton* m_radioAccess = nullptr;
    QLineEdit* m_editAddress = nullptr;
    QLineEdit* m_editPort = nullptr;
    QLineEdit* m_editDatabase = nullptr;
    QLineEdit* m_editUser = nullptr;
    QLineEdit* m_editPassword = nullptr;
    QLineEdit* m_editPath = nullptr;
    QPushButton* m_btnBrowse = nullptr;
    QPushButton* m_btnOk = nullptr;

public slots:
    void OnNetworkInstance();
    void OnPostgreSqlInstance();
    void OnAccessDatabase();
    void OnBrowse();
    void OnOK();

private:
    void OnInitDialog();
    void ChooseKind(int kind);
    void ShowNetworkFields(bool shown);
    // Writes the settings; false (with cfg.ini as it was) when they do not
    // read back.
    bool SaveSettings(const QString& storedText);

    QString m_strAppName;
    QList<QLabel*> m_networkLabels;
    QLabel* m_labelPath = nullptr;
};
