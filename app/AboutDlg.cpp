#include "AboutDlg.h"

#include "AppTexts.h"
#include "ShellPictures.h"
#include "db/DbConnection.h"
#include "text/AppState.h"
#include "web/ModuleVersion.h"
#include "web/ShellOpen.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(AppText::AboutTitle);
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ShellPictures::AppIcon().pixmap(32, 32));
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    m_labelVersion = new QLabel(AppText::VersionLine, this);
    m_editAppName = new QLineEdit(this);
    m_editAppName->setReadOnly(true);
    m_linkWebSite = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(AppText::WebSite), this);
    connect(m_linkWebSite, &QLabel::linkActivated, this, [] { OpenWithShell(AppText::WebSite); });
    grid->addWidget(new QLabel(AppText::VersionLabel, this), 0, 1);
    grid->addWidget(m_labelVersion, 0, 2);
    grid->addWidget(new QLabel(AppText::AppNameLabel, this), 1, 1);
    grid->addWidget(m_editAppName, 1, 2);
    grid->addWidget(new QLabel(AppText::WebLabel, this), 2, 1);
    grid->addWidget(m_linkWebSite, 2, 2);
    auto* close = new QPushButton(AppText::Cancel, this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(close, 3, 2, Qt::AlignRight);
    OnInitDialog();
}

void CAboutDlg::OnInitDialog()
{
    m_labelVersion->setText(m_labelVersion->text() + GetFileVersionText(QString()) + QStringLiteral(" - ")
                            + theApp().m_strMenuVersion);
    CDbConnection db;
    db.Configure();
    if (!db.Connect())
        return;
    QString name;
    m_editAppName->setText(db.QueryValue(AppText::SelectAppName, name) ? name : AppText::DownloadHint);
    db.Close();
}
