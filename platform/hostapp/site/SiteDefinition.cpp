#include "hostapp/site/SiteDefinition.h"

#include "hostapp/files/AtomicFile.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/files/TextPlace.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// A member that must be a string when present.
bool readText(const nlohmann::json& object, const char* key, CString& value, std::string& error) {
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) {
        return true;
    }
    if (!it->is_string()) {
        error = std::string("\"") + key + "\" is not a text";
        return false;
    }
    value = CString::fromUtf8(it->get<std::string>());
    return true;
}

}  // namespace

std::optional<SiteDefinition> readSiteDefinition(const CString& folder, std::string& error) {
    auto native = nd::win32::toNativePath(folder.view());
    std::error_code ec;
    if (!native || !std::filesystem::is_directory(*native, ec)) {
        error = "no site folder " + (native ? *native : folder.toUtf8());
        return std::nullopt;
    }
    SiteDefinition site;
    site.folder = conv_std_path(folder);
    addLastYenMark(site.folder);
    CString file = site.folder + kSiteDefinitionFile;
    std::string nativeFile = nd::win32::toNativePath(file.view()).value_or(file.toUtf8());
    std::ifstream in(nativeFile, std::ios::binary);
    if (!in) {
        error = "no site definition " + nativeFile;
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    nlohmann::json json;
    std::string reason;
    try {
        json = nlohmann::json::parse(text);
    } catch (const nlohmann::json::parse_error& e) {
        reason = "not valid JSON at " + lum::placeInText(text, e.byte);
    } catch (const nlohmann::json::out_of_range&) {
        reason = "a number in it is too large";
    }
    if (!reason.empty()) {
        // said where
    } else if (!json.is_object()) {
        reason = "not a JSON object";
    } else if (!json.contains("url") || json["url"].is_null()) {
        reason = "\"url\" is missing: the site's address, such as \"https://example.com/\"";
    } else if (!readText(json, "name", site.name, reason) ||
               !readText(json, "url", site.url, reason) ||
               !readText(json, "topPage", site.topPage, reason)) {
        // reason is set
    } else if (!isWebSiteUrl(site.url)) {
        reason = "\"url\" is not an http or https URL";
    } else if (site.url.Find(u'?') >= 0 || site.url.Find(u'#') >= 0) {
        // Every file's address is the site's with the file's path after it.
        reason = "\"url\" is the address of the site's folder and has no ? or # part";
    }
    if (!reason.empty()) {
        error = "site definition " + nativeFile + ": " + reason;
        return std::nullopt;
    }
    if (site.url.Right(1) != u"/") {
        site.url += u'/';
    }
    // The scheme compares without case ("HTTPS:"); addresses of the site's
    // files begin with the site's own, compared as written.
    for (int i = 0; i < site.url.GetLength() && site.url[i] != u':'; ++i) {
        if (site.url[i] >= u'A' && site.url[i] <= u'Z') {
            site.url.SetAt(i, static_cast<char16_t>(site.url[i] - u'A' + u'a'));
        }
    }
    if (site.name.IsEmpty()) {
        site.name = getBaseName(site.folder.Left(site.folder.GetLength() - 1));
    }
    if (site.topPage.IsEmpty()) {
        site.topPage = u"index.html";
    }
    return site;
}

bool writeSiteTopPage(const CString& folder, const std::string& topPage, std::string& error) {
    CString root = conv_std_path(folder);
    addLastYenMark(root);
    CString file = root + kSiteDefinitionFile;
    std::string nativeFile = nd::win32::toNativePath(file.view()).value_or(file.toUtf8());
    std::ifstream in(nativeFile, std::ios::binary);
    nlohmann::ordered_json json = nlohmann::ordered_json::parse(in, nullptr, false);
    if (!in.is_open() || json.is_discarded() || !json.is_object()) {
        error = "cannot read site definition " + nativeFile;
        return false;
    }
    json["topPage"] = topPage;
    if (!lum::writeFileAtomically(file, json.dump(2) + "\n", true)) {
        error = "cannot write site definition " + nativeFile;
        return false;
    }
    return true;
}
