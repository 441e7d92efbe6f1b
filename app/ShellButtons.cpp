#include "ShellButtons.h"

#include "widgets/ButtonST.h"

#include <QIcon>

namespace {
constexpr int kPictureSize = 24;
} // namespace

CButtonST* CreateShellButton(QWidget* parent, int id, const QRect& rect, const QString& caption,
                             const QIcon& picture, const QString& tip, unsigned style)
{
    auto* button = new CButtonST(parent);
    button->setObjectName(QString::number(id));
    button->PreSubclassWindow(style);
    button->setText(caption);
    button->setGeometry(rect);
    if (!picture.isNull())
        button->SetIcons(picture.pixmap(kPictureSize, kPictureSize).toImage());
    button->SetTooltipText(tip, true);
    button->show();
    return button;
}
