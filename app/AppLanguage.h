#pragma once

class QCoreApplication;

// The program speaks Chinese throughout: Qt's own texts (standard buttons,
// file, print and date dialogs) from Qt's Chinese translation, and dates
// and numbers in the Chinese locale. False when the translation is not
// installed; the program then runs with Qt's English texts.
bool UseChineseLanguage(QCoreApplication& app);
