/* Style values the host's resource script uses, so that no SDK header is read. */
#pragma once
#define LANG_JAPANESE 0x11
#define SUBLANG_DEFAULT 0x01
#define IDC_STATIC (-1)
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define DS_3DLOOK 0x0004L
#define DS_SETFONT 0x0040L
#define DS_MODALFRAME 0x0080L
#define DS_CENTER 0x0800L
#define SS_LEFT 0x0000L
#define SS_PATHELLIPSIS 0x8000L
#define WS_VSCROLL 0x00200000L
#define WS_TABSTOP 0x00010000L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define IDOK 1
#define IDCANCEL 2
