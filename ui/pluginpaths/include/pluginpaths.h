#pragma once

// Qt looks for plugins in the program's own folder too. Here that folder is a skin, which
// people copy and pass around, so a skin could bring code that the programs would load. Call
// before the application object exists: plugins then come from Qt's own folder and from
// QT_PLUGIN_PATH only.
void keepPluginsOutOfTheProgramFolder();
