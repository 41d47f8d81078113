// Ids of the host program's own resources (apps/newsdesk/res/host.rc). The
// host's dialogs use ids from 30000 up, apart from the module's 11900 range.
#pragma once

#define IDD_LUM_SITE_REBUILD 30100
#define IDC_REBUILD_MESSAGE 30101
#define IDC_REBUILD_PROGRESS 30102
#define IDC_REBUILD_FILE 30103

#define IDD_LUM_SITE_LINK_LIST 30110
#define IDC_LINK_LIST_MESSAGE 30111
#define IDC_LINK_LIST_PAGES 30112
