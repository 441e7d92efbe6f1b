#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures of the shell's windows, drawn for this program.
namespace ShellPictures {

// The program's icon: a rounded square with the letter T.
QIcon AppIcon();
// The picture at the top of the login dialog: the product's name.
QPixmap LoginBanner(int width, int height);
// The login dialog's button pictures, drawn (no image file to load at start).
QIcon SettingsIcon();
QIcon HelpIcon();
QIcon LoginIcon();
QIcon CloseIcon();
// Leaf and folder pictures of the menu trees.
QIcon LeafIcon();
QIcon FolderIcon();

} // namespace ShellPictures
