#pragma once

#include <QComboBox>

// The drop-down list of forms. It announces its opening before the list is
// laid out, so that a list that fills itself on opening shows every entry
// the first time, an empty one included.
class CDropListBox : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override;

signals:
    void droppingDown();
};
