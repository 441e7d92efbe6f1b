#pragma once

#include <QByteArray>

class QCoreApplication;

// The program speaks Chinese throughout: Qt's own texts (standard buttons,
// file, print and date dialogs) from Qt's Chinese translation, and dates
// and numbers in the Chinese locale. Made before the application object
// (Qt reads the system locale, the dates of its file dialog, from the
// environment while that object is made), applied right after it.
class CChineseLocale
{
public:
    CChineseLocale();
    // Puts the user's own locale back for the C library and the commands
    // the program runs, and installs the translation; false when the
    // translation is not installed (Qt's English texts then stay).
    bool Apply(QCoreApplication& app);

private:
    bool m_bHadTime;
    QByteArray m_time;
};
