#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's file-open dialog for an existing file: the chosen path, or
// an empty text when the user cancels. The filter is in the dialog's own
// form ("Name (*.a *.b);;Other (*)"). Tests put a chooser of their own in
// place of the dialog (it gets the title and filter); an empty function
// restores the dialog.
QString ChooseFileToOpen(QWidget* parent, const QString& title, const QString& filter);
using FileToOpenChooser = std::function<QString(const QString& title, const QString& filter)>;
void SetFileToOpenChooserForTests(FileToOpenChooser chooser);
