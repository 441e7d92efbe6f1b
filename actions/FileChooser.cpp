#include "FileChooser.h"

#include "FileTexts.h"

#include <QFileDialog>

namespace {

UploadFileChooser& TestChooser()
{
    static UploadFileChooser chooser;
    return chooser;
}

} // namespace

QString ChooseUploadFile(QWidget* parent)
{
    if (TestChooser())
        return TestChooser()();
    QFileDialog dialog(parent, FileTexts::OpenFileTitle, QString(), FileTexts::OpenFileFilter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().first();
}

void SetUploadFileChooserForTests(UploadFileChooser chooser)
{
    TestChooser() = std::move(chooser);
}
