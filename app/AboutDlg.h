#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// The program's version, the menu data's version, the application name
// recorded in the database and the maker's web site.
class CAboutDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* m_labelVersion = nullptr; // 1118
    QLineEdit* m_editAppName = nullptr; // 1105
    QLabel* m_linkWebSite = nullptr;  // 1142

private:
    void OnInitDialog();
};
