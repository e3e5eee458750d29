#pragma once

// Qt's own Japanese texts for its stock dialogs and buttons (Yes/No, OK,
// Cancel, the colour dialog), so that nothing in the window reads English.

class QCoreApplication;

namespace gui {

// Loads Qt's Japanese translations and installs them in `application`.
// False when they are not found (the stock dialogs then stay in English).
bool InstallQtTranslations(QCoreApplication& application);

} // namespace gui
