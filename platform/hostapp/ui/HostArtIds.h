// Ids of the host program's own pictures: the backgrounds of the
// beginner-style buttons and the application's icon.
#pragma once

#define IDB_BEGI_BTN_PRESSED 6460
#define IDB_BEGI_BTN_HOT 6461
#define IDB_BEGI_BTN_MARKED 6462
#define IDB_BEGI_BTN_NORMAL 6463
#define IDI_LUM_APP 128
