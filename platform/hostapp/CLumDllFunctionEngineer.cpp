#include "hostapp/CLumDllFunctionEngineer.h"

CLumDllFunctionEngineer::CLumDllFunctionEngineer() {}

CLumDllFunctionEngineer* CLumDllFunctionEngineer::getInstance() {
    static CLumDllFunctionEngineer table;
    return &table;
}

void* CLumDllFunctionEngineer::GetFunctionAddr(int number) {
    auto it = m_functions.find(number);
    return it == m_functions.end() ? nullptr : it->second;
}
