#include "hostapp/ui/CLumTktDialogEngineer.h"

CLumTktDialogEngineer* CLumTktDialogEngineer::getInstance() {
    static CLumTktDialogEngineer engineer;
    return &engineer;
}

void CLumTktDialogEngineer::updatePanes() {
    ++m_nUpdates;
    if (m_listener) {
        m_listener();
    }
}
