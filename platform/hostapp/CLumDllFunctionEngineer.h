// The host's table of functions that other host modules offer by number.
#pragma once

#include <map>

class CLumDllFunctionEngineer {
  public:
    // The table; never freed.
    static CLumDllFunctionEngineer* getInstance();
    // The function registered under number, or nullptr when there is none.
    // The caller casts it to the type that belongs to the number (40220:
    // CreatePodcastConverterFn).
    void* GetFunctionAddr(int number);

  private:
    CLumDllFunctionEngineer();
    std::map<int, void*> m_functions;
};
