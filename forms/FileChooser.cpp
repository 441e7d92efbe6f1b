#include "FileChooser.h"

#include <QFileDialog>

namespace {

FileToOpenChooser& TestChooser()
{
    static FileToOpenChooser chooser;
    return chooser;
}

} // namespace

QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter)
{
    if (TestChooser())
        return TestChooser()(title, filter);
    QFileDialog dialog(parent, title, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void SetFileToOpenChooserForTests(FileToOpenChooser chooser)
{
    TestChooser() = std::move(chooser);
}
