#pragma once

#include <QString>

#include <functional>

class QWidget;

// The file-open dialog of the upload action; an empty text when the user
// cancels. Tests put their own chooser in place of the dialog; an empty
// function restores it.
QString ChooseUploadFile(QWidget* parent);
using UploadFileChooser = std::function<QString()>;
void SetUploadFileChooserForTests(UploadFileChooser chooser);
