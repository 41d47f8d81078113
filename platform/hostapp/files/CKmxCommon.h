// Where the application keeps its own files.
#pragma once

#include "mfc/CString.h"

class CKmxCommon {
  public:
    // The folder of the application's data of that kind, as a Windows path
    // ending in a backslash: share/newsdesk beside the folder of the running
    // program where it is installed (PREFIX/bin and PREFIX/share/newsdesk),
    // else the program's own folder (the build tree). The environment variable
    // NEWSDESK_PRODUCT_FOLDER (a native folder) takes its place when set.
    // Empty when neither can be found. priority is reserved.
    static CString getProductFolder(int kind, int priority);
    // The name of the application's help file, to be put after a product folder.
    static CString getHelpFileNameLumpage();
    // The application's key in the user's registry, under which dialogs keep
    // their placements ("...\\dlg\\NAME"); no trailing backslash.
    static CString getHKCULumpageBase();
};
