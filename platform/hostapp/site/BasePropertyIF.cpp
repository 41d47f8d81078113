#include "hostapp/site/BasePropertyIF.h"

#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <climits>
#include <filesystem>
#include <fstream>

BasePropertyIF* BasePropertyIF::create(const CString& location, const CString& localPath) {
    return new BasePropertyIF(location, localPath);
}

unsigned char* BasePropertyIF::getContent(int& size) const {
    size = 0;
    CString path = m_localPath.IsEmpty() ? fileUrlToPath(m_location) : m_localPath;
    auto native = nd::win32::toNativePath(path.view());
    std::error_code ec;
    if (!native || !std::filesystem::is_regular_file(*native, ec)) {
        return nullptr;
    }
    auto length = std::filesystem::file_size(*native, ec);
    if (ec || length == 0 || length > static_cast<std::uintmax_t>(INT_MAX)) {
        return nullptr;
    }
    std::ifstream in(*native, std::ios::binary);
    auto* bytes = new unsigned char[length];
    if (!in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(length))) {
        delete[] bytes;
        return nullptr;
    }
    size = static_cast<int>(length);
    return bytes;
}

void BasePropertyIF::freeContent(unsigned char* bytes) {
    delete[] bytes;
}

void BasePropertyIF::release() {
    if (--m_refs == 0) {
        delete this;
    }
}
