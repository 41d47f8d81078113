// Draws what a window recorded in its last paint (win32/Gdi.h) with a
// QPainter: the face of owner-drawn buttons, painted areas and the
// backgrounds dialogs erase with their own brush.
#pragma once

#include "win32/Gdi.h"

#include <QPainter>

#include <vector>

namespace nd::qtview {

void drawRecords(QPainter& painter, const std::vector<nd::win32::DrawRecord>& records);

}  // namespace nd::qtview
