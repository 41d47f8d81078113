// Shared pieces of the built-in controls. Internal to the window system.
#pragma once

#include "win32/WindowTree.h"
#include "win32/windows.h"

#include <string>
#include <string_view>
#include <vector>

namespace nd::win32::detail {

void ensureBuiltinClasses();

LRESULT staticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT buttonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT editProc(HWND, UINT, WPARAM, LPARAM);
LRESULT listBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT comboBoxProc(HWND, UINT, WPARAM, LPARAM);
LRESULT listViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT dateTimeProc(HWND, UINT, WPARAM, LPARAM);
LRESULT tabControlProc(HWND, UINT, WPARAM, LPARAM);
LRESULT progressBarProc(HWND, UINT, WPARAM, LPARAM);
WNDPROC dialogClassProc();

// Ordering of sorted list boxes and combo boxes: the user's locale,
// ignoring case, as the system's string comparison does.
int compareForSort(std::u16string_view a, std::u16string_view b);
// Prefix and exact matches of LB_FINDSTRING / LB_FINDSTRINGEXACT, ignoring case.
bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix);
bool equalsNoCase(std::u16string_view a, std::u16string_view b);

// Selects the window's font (WM_SETFONT) into a device context, if it has one.
void selectWindowFont(HWND control, HDC dc);
// Sends WM_CTLCOLOR<kind> to the parent and returns the brush it answers.
HBRUSH controlColor(HWND control, HDC dc, UINT message);
// Copies text into a caller's buffer of `size` characters; the length copied.
int copyText(std::u16string_view text, LPWSTR buffer, size_t size);
// Why a control cannot take user input now; empty when it can.
std::string unusable(HWND control);

}  // namespace nd::win32::detail

namespace nd::win32::detail {

std::string editUserType(HWND edit, std::u16string_view text);
std::string dateTimeUserType(HWND picker, std::u16string_view text);
std::string dateTimeUserSet(HWND picker, const SYSTEMTIME& value);
std::string listBoxUserSelect(HWND list, const std::vector<int>& rows);
std::string listViewUserSelect(HWND list, const std::vector<int>& rows);
std::string comboUserSelect(HWND combo, int row);
// Text typed into the edit field of a combo box that has one.
std::string comboUserType(HWND combo, std::u16string_view text);
std::string tabUserSelect(HWND tab, int index);

}  // namespace nd::win32::detail
