// A resource of a site (a picture, a page) as the application describes it.
// Reference counted: whoever is handed one releases it once.
#pragma once

#include "mfc/CString.h"

class BasePropertyIF {
  public:
    // Makes a property with one reference. localPath empty: the resource is
    // known by its bytes only.
    static BasePropertyIF* create(const CString& location, const CString& localPath);

    // The resource's URL.
    const CString& getLocation() const { return m_location; }
    // Its file on this machine; empty when the resource is known by its bytes only.
    const CString& getLocalPath() const { return m_localPath; }
    // The resource's bytes in a new array (free it with freeContent) and their
    // count in size; nullptr and size 0 when they cannot be read.
    unsigned char* getContent(int& size) const;
    static void freeContent(unsigned char* bytes);

    void addRef() { ++m_refs; }
    void release();

  private:
    BasePropertyIF(const CString& location, const CString& localPath)
        : m_location(location), m_localPath(localPath) {}
    ~BasePropertyIF() = default;

    CString m_location;
    CString m_localPath;
    int m_refs = 1;
};
