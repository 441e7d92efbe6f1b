#pragma once

#include <QDialog>

#include <memory>

class CDbConnection;
class QLineEdit;

// Changes the logged-in user's password. The old one is checked against the
// password typed at login; the new one is stored in its legacy form.
class Dialog_Change_Pass : public QDialog
{
    Q_OBJECT

public:
    explicit Dialog_Change_Pass(QWidget* parent = nullptr);
    ~Dialog_Change_Pass() override;

    QLineEdit* m_editOld = nullptr;    // 1102
    QLineEdit* m_editNew = nullptr;    // 1106
    QLineEdit* m_editRepeat = nullptr; // 1103

public slots:
    void OnOK();

private:
    std::unique_ptr<CDbConnection> m_db;
};
