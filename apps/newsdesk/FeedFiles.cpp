#include "FeedFiles.h"

#include "FeedPath.h"

#include <unistd.h>

#include <filesystem>
#include <ostream>

namespace newsdesk::app {

std::optional<CString> windowsPathOf(CommandContext& context, const std::string& native) {
    return feedPathArgument(native, context.err);
}

bool readFeed(CommandContext& context, const std::string& native, CRSSChannel& channel) {
    auto path = windowsPathOf(context, native);
    if (!path) {
        return false;
    }
    auto read = context.module.entry<lum::ReadRssFileEntryFn>(lum::slot::ReadRssFile);
    if (read(*path, &channel) == 1) {
        return true;
    }
    int format = -1;
    context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
    context.err << "newsdesk: " << native << ": " << unreadableReason(native, format) << "\n";
    return false;
}

bool writeFeed(CommandContext& context, const std::string& native, CRSSChannel& channel) {
    auto path = windowsPathOf(context, native);
    if (!path) {
        return false;
    }
    if (channel.m_format < 0 || channel.m_format > 2) {
        context.err << "newsdesk: unknown format " << channel.m_format
                    << " (0 RSS 1.0, 1 RSS 2.0, 2 podcast)\n";
        return false;
    }
    std::filesystem::path target(native);
    std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec)) {
        context.err << "newsdesk: " << native << ": is a folder\n";
        return false;
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        context.err << "newsdesk: " << native << ": no such folder\n";
        return false;
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        context.err << "newsdesk: " << native << ": the folder is not writable\n";
        return false;
    }
    auto rewrite = context.module.entry<lum::RewriteRssFileEntryFn>(lum::slot::RewriteRssFile);
    if (rewrite == nullptr) {
        context.err << "newsdesk: the module offers no RewriteRssFileEntry\n";
        return false;
    }
    rewrite(*path, &channel);
    if (!std::filesystem::is_regular_file(target, ec)) {
        context.err << "newsdesk: " << native << ": could not be written\n";
        return false;
    }
    return true;
}

std::optional<int> formatCode(const std::string& name) {
    if (name == "rss1") {
        return 0;
    }
    if (name == "rss2") {
        return 1;
    }
    if (name == "podcast") {
        return 2;
    }
    return std::nullopt;
}

}  // namespace newsdesk::app
