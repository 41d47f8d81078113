/* Style bits and fixed ids for the resource script, with the values the
   window system gives them. Only the resource compiler reads this file; C++
   code takes the same names from the window system's headers. */
#ifndef NEWSDESK_RES_RESOURCE_STYLES_H
#define NEWSDESK_RES_RESOURCE_STYLES_H

#define IDC_STATIC (-1)
#define IDOK 1
#define IDCANCEL 2
#define ID_HELP 57670

#define LANG_JAPANESE 0x11
#define SUBLANG_DEFAULT 0x01

/* Windows. */
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L

#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTROLPARENT 0x00010000L

/* Dialogs. */
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_3DLOOK 0x0004L
#define DS_CONTROL 0x0400L
#define DS_CENTER 0x0800L

/* Edit controls. */
#define ES_LEFT 0x0000L
#define ES_MULTILINE 0x0004L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_READONLY 0x0800L
#define ES_WANTRETURN 0x1000L

/* Buttons. */
#define BS_PUSHBUTTON 0x0000L
#define BS_DEFPUSHBUTTON 0x0001L
#define BS_AUTOCHECKBOX 0x0003L
#define BS_GROUPBOX 0x0007L
#define BS_AUTORADIOBUTTON 0x0009L
#define BS_OWNERDRAW 0x000BL

/* Statics. */
#define SS_LEFT 0x0000L
#define SS_BLACKFRAME 0x0007L
#define SS_BITMAP 0x000EL
#define SS_ETCHEDHORZ 0x0010L
#define SS_NOPREFIX 0x0080L
#define SS_CENTERIMAGE 0x0200L
#define SS_SUNKEN 0x1000L

/* List boxes. */
#define LBS_NOTIFY 0x0001L
#define LBS_SORT 0x0002L
#define LBS_MULTIPLESEL 0x0008L
#define LBS_NOINTEGRALHEIGHT 0x0100L

/* Combo boxes. */
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_SORT 0x0100L

/* List views. */
#define LVS_REPORT 0x0001L
#define LVS_SHOWSELALWAYS 0x0008L

/* Date and time pickers. */
#define DTS_SHORTDATEFORMAT 0x0000L
#define DTS_TIMEFORMAT 0x0009L
#define DTS_APPCANPARSE 0x0010L
#define DTS_RIGHTALIGN 0x0020L

#define WC_LISTVIEW "SysListView32"
#define DATETIMEPICK_CLASS "SysDateTimePick32"

#endif
