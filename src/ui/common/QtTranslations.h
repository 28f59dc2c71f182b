#pragma once

class QCoreApplication;
class QTranslator;

namespace dorvan {

// Loads Qt's own Slovak texts (message-box buttons "Áno"/"Nie", file and print dialogs) from
// the translations Qt was installed with, so the dialogs speak the program's language. Returns
// the installed translator (owned by app), or null when they are not installed: the dialogs
// then keep Qt's English texts.
QTranslator* installQtTranslations(QCoreApplication& app);

} // namespace dorvan
