#include "hostapp/app/CLumDllFunctionEngineer.h"

#include "hostapp/media/Mp3PodcastConverter.h"

CLumDllFunctionEngineer::CLumDllFunctionEngineer() {
    CreatePodcastConverterFn createConverter = &lum::createPodcastConverter;
    m_functions[40220] = reinterpret_cast<void*>(createConverter);
}

CLumDllFunctionEngineer* CLumDllFunctionEngineer::getInstance() {
    static CLumDllFunctionEngineer table;
    return &table;
}

void* CLumDllFunctionEngineer::GetFunctionAddr(int number) {
    auto it = m_functions.find(number);
    return it == m_functions.end() ? nullptr : it->second;
}

void CLumDllFunctionEngineer::SetFunctionAddr(int number, void* function) {
    if (function == nullptr) {
        m_functions.erase(number);
    } else {
        m_functions[number] = function;
    }
}
