// What a person sees of a control at a given moment, compared with what a
// script expects: its text, whether it is enabled, visible or checked, the
// selected radio button of its group, the rows of a list and which are
// selected. Also the look of a message box and the kind of a chooser.
#pragma once

#include "win32/windows.h"

#include <optional>
#include <string>
#include <vector>

namespace nd::win32 {

struct UiCheck {
    enum class What { Text, Enabled, Visible, Checked, Radio, Rows, Selection };
    What what = What::Text;
    std::u16string text;               // Text
    bool flag = false;                 // Enabled, Visible, Checked
    int radio = 0;                     // Radio: the checked button's id, 0 for none
    std::vector<std::u16string> rows;  // Rows (list view: columns separated by tabs)
    std::vector<int> selection;        // Selection: row indexes, ascending

    static UiCheck textIs(std::u16string text);
    static UiCheck enabled(bool on);
    static UiCheck visible(bool on);
    static UiCheck checked(bool on);
    static UiCheck radioIs(int id);
    static UiCheck rowsAre(std::vector<std::u16string> rows);
    static UiCheck selectionIs(std::vector<int> rows);

    std::string property() const;  // "text", "enabled" ...
};

// Compares one property of control `id` of the dialog: empty when it is as
// expected, else one line naming the control, the expected and the found value.
std::string checkControl(HWND dialog, int id, const UiCheck& check);

// Names of message box icons and button sets as scripts write them.
std::string iconName(UINT style);     // "none", "stop", "question", "warning", "information"
std::string buttonsName(UINT style);  // "ok", "ok-cancel", "yes-no" ...
std::optional<UINT> iconFromName(const std::string& name);
std::optional<UINT> buttonsFromName(const std::string& name);

}  // namespace nd::win32
