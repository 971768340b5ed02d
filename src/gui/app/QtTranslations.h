#pragma once
// Qt's own Russian texts: the buttons of message boxes, the file and folder choosers, the context
// menus of edit boxes. The program speaks Russian whatever the system's language.

class QCoreApplication;
class QTranslator;

namespace pw {

// Loads Qt's Russian translation (qtbase_ru) from Qt's translations folder, or else from a folder
// "translations" beside the program (where a Windows installation keeps it), and installs it into
// app. Returns the installed translator, a child of app; nullptr when no translation was found, and
// Qt's English texts stay.
QTranslator* InstallQtTranslations(QCoreApplication& app);

} // namespace pw
