#pragma once

#include "widgets/WndResizer.h"

#include <QDialog>

class QPlainTextEdit;

// The text detail dialog of a browse box: a long text edited in a
// multi-line box; OK writes it, with bare line feeds, to the caller's text.
class Dialog_TextBox_Info : public QDialog
{
    Q_OBJECT

public:
    explicit Dialog_TextBox_Info(QWidget* parent = nullptr);

    // Shows the text and runs the dialog.
    int DoModal();

    QString m_strText;
    QString* m_pResult = nullptr;

    QPlainTextEdit* Edit() const { return m_pEdit; }

protected:
    void OnInitDialog();
    void OnOK();

private:
    CWndResizer m_resizer;
    QPlainTextEdit* m_pEdit;
};
