#include "DropListBox.h"

#include <QPointer>

void CDropListBox::showPopup()
{
    // The handler may close the form and with it this box.
    QPointer<CDropListBox> alive(this);
    emit droppingDown();
    if (alive)
        QComboBox::showPopup();
}
