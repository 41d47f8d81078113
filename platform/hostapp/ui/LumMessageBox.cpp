#include "hostapp/ui/LumMessageBox.h"

#include "mfc/AfxMessageBox.h"

namespace lum {

int afxMessageBox(UINT id, UINT type, UINT helpId) {
    return AfxMessageBox(id, type, helpId);
}

}  // namespace lum
