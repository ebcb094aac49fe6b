#pragma once
// The texts Qt makes itself (standard buttons, its dialogs and context menus) speak the
// program's language.

// Installs Qt's own Simplified Chinese translations on the running application, once; false
// when they are not installed on this machine.
bool InstallQtTranslations();
