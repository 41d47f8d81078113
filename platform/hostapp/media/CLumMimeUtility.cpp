#include "hostapp/media/CLumMimeUtility.h"

#include <fstream>
#include <sstream>

namespace {

constexpr const char* kSystemTable = "/etc/mime.types";

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

const std::map<std::string, std::string>& systemTable() {
    static const std::map<std::string, std::string> table = [] {
        std::ifstream in(kSystemTable, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return lum::parseMimeTypes(text.str());
    }();
    return table;
}

}  // namespace

namespace lum {

std::map<std::string, std::string> parseMimeTypes(std::string_view table) {
    std::map<std::string, std::string> out;
    std::istringstream lines{std::string(table)};
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string type;
        if (!(words >> type) || type.find('/') == std::string::npos) {
            continue;
        }
        std::string ext;
        while (words >> ext) {
            out.emplace(lowerAscii(ext), type);
        }
    }
    return out;
}

}  // namespace lum

CString CLumMimeUtility::getMimeTypeOfExtension(const CString& ext) {
    CString key = ext;
    key.Trim();
    if (key.Left(1) == u".") {
        key = key.Mid(1);
    }
    if (key.IsEmpty()) {
        return CString();
    }
    const auto& table = systemTable();
    auto it = table.find(lowerAscii(key.toUtf8()));
    return it == table.end() ? CString() : CString::fromUtf8(it->second);
}
