// The rows of list boxes and combo boxes: texts with item data. Both
// controls answer row questions the same way and with the same error value
// (LB_ERR and CB_ERR are both -1).
#pragma once

#include "win32/Controls.h"
#include "win32/windows.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace nd::win32::detail {

constexpr LRESULT kNoRow = -1;

template <typename Row>
bool validRow(const std::vector<Row>& rows, WPARAM index) {
    return static_cast<size_t>(index) < rows.size();
}

// Where a sorted control puts a new text: after the rows that compare equal,
// before the first that sorts after it.
template <typename Row>
int sortedPosition(const std::vector<Row>& rows, LPCWSTR text) {
    std::u16string_view t = text ? text : u"";
    auto it = std::upper_bound(
        rows.begin(), rows.end(), t,
        [](std::u16string_view v, const Row& r) { return compareForSort(v, r.text) < 0; });
    return static_cast<int>(it - rows.begin());
}

// The first row after start (from the top when start is -1 or past the end),
// wrapping round, whose text begins with text (or equals it when exact),
// without regard to case; kNoRow when none does.
template <typename Row>
LRESULT findRow(const std::vector<Row>& rows, WPARAM start, LPCWSTR text, bool exact) {
    if (!text || rows.empty()) {
        return kNoRow;
    }
    size_t n = rows.size();
    size_t first = static_cast<int>(start) < 0 || start >= n ? 0 : start + 1;
    for (size_t k = 0; k < n; ++k) {
        size_t i = (first + k) % n;
        if (exact ? equalsNoCase(rows[i].text, text) : startsWithNoCase(rows[i].text, text)) {
            return static_cast<LRESULT>(i);
        }
    }
    return kNoRow;
}

enum class RowQuery { Text, TextLength, Data, SetData };

// LB_GETTEXT / CB_GETLBTEXT (text copied to lParam, terminated), the text
// lengths, and getting and setting item data; kNoRow for a row not there.
template <typename Row>
LRESULT answerRowQuery(std::vector<Row>& rows, RowQuery query, WPARAM index, LPARAM lParam) {
    if (!validRow(rows, index)) {
        return kNoRow;
    }
    Row& row = rows[index];
    switch (query) {
        case RowQuery::Text:
            if (auto* out = reinterpret_cast<LPWSTR>(lParam)) {
                std::copy(row.text.begin(), row.text.end(), out);
                out[row.text.size()] = 0;
            }
            return static_cast<LRESULT>(row.text.size());
        case RowQuery::TextLength:
            return static_cast<LRESULT>(row.text.size());
        case RowQuery::Data:
            return row.data;
        case RowQuery::SetData:
            row.data = lParam;
            return 0;
    }
    return kNoRow;
}

}  // namespace nd::win32::detail
