#include "hostapp/urls/CLumUrlString.h"

#include "hostapp/urls/UrlUtil.h"

CLumUrlString::CLumUrlString(const CString& location, bool isPath) {
    if (isPath && isDrivePath(location)) {
        m_path = conv_std_path(location);
        m_url = cat_file_colon(m_path);
    } else {
        m_url = location;
        m_path = fileUrlToPath(location);
    }
}

CString CLumUrlString::getURL() const {
    return m_url;
}

CString CLumUrlString::getPath() const {
    return m_path;
}
