// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Qt's own texts in Russian whatever the system's language, since the whole of Kelsa speaks
// Russian: the buttons of standard dialogs and message boxes, a field's context menu, the file,
// folder, print, page setup and print preview dialogs, and the reasons QFile gives.

class QCoreApplication;

namespace kelsa
{

// Installs into `app` Qt's Russian catalogue, qtbase_ru.qm, from Qt's translations folder
// (Debian's qt6-translations-l10n) or, failing that, from "translations" beside the program,
// and over it Kelsa's own Russian for the few texts that catalogue lacks or words wrongly.
// Both translators are children of `app`. Returns whether Qt's catalogue was found; Kelsa's
// own texts are installed either way.
bool installRussianTranslations(QCoreApplication &app);

} // namespace kelsa
