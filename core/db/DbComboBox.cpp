// The one user-interface operation of CDbConnection.
#include "db/DbConnection.h"

#include <QComboBox>

namespace
{
// Selects the first entry that begins with the text (any letter case), as a
// Windows combo box's select-string search does; no match changes nothing.
void SelectByPrefix(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text, Qt::MatchStartsWith);
    if (index >= 0)
        combo->setCurrentIndex(index);
}
} // namespace

bool CDbConnection::FillComboBox(QComboBox* combo, const QString& sql, const QString& field)
{
    const QString remembered = combo->currentText();
    if (combo->count() >= 2) {
        SelectByPrefix(combo, remembered);
        return true;
    }
    QStringList values;
    if (!QueryToList(sql, {field}, values))
        return false;
    combo->clear();
    combo->addItem(QString());
    combo->addItems(values);
    combo->setCurrentIndex(0);
    SelectByPrefix(combo, remembered);
    return true;
}
