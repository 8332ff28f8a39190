#pragma once

class QCoreApplication;

// Qt's own words (the file dialog's labels, the standard buttons of message
// boxes) in the user's language, from the translations the system holds for
// Qt. Pelora's own texts are not translated.
namespace QtTranslation {

// Installs the translation for the user's locale into `app`; without one,
// Qt speaks English, as it does by default.
void install(QCoreApplication& app);

} // namespace QtTranslation
