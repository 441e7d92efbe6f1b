#pragma once

#include <QString>

class CButtonST;
class QIcon;
class QRect;
class QWidget;

// The picture buttons of the shell's windows: a visible child CButtonST with
// its id as object name, at rect, with a caption (may be empty), a picture
// beside it, a tooltip and the style bits of its window style.
CButtonST* CreateShellButton(QWidget* parent, int id, const QRect& rect, const QString& caption,
                             const QIcon& picture, const QString& tip, unsigned style = 0);
