// The host's table of functions that other host modules offer by number.
#pragma once

#include <map>

class CLumDllFunctionEngineer {
  public:
    // The table; never freed.
    static CLumDllFunctionEngineer* getInstance();
    // The function registered under number, or nullptr when there is none.
    // The caller casts it to the type that belongs to the number (40220:
    // CreatePodcastConverterFn; 40153: lum::EditRssFileEntryFn).
    void* GetFunctionAddr(int number);
    // Offers a function under a number (null withdraws it). The application
    // does this for functions that other modules hand it, such as the RSS
    // module's open-and-edit entry.
    void SetFunctionAddr(int number, void* function);

  private:
    CLumDllFunctionEngineer();
    std::map<int, void*> m_functions;
};
