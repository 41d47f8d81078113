#include "FeedFiles.h"

#include "EntityNames.h"
#include "FeedPath.h"

#include "win32/FileApi.h"

#include <sys/stat.h>
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
    // A FIFO or a device is answered before the module would wait on it.
    std::string unopenable = unopenableReason(native);
    if (!unopenable.empty()) {
        context.err << "newsdesk: " << native << ": " << unopenable << "\n";
        return false;
    }
    auto read = context.module.entry<lum::ReadRssFileEntryFn>(lum::slot::ReadRssFile);
    if (read(*path, &channel) == 1) {
        reportRepairs(context, native, channel, native);
        return true;
    }
    int format = -1;
    context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(*path, &format);
    context.err << "newsdesk: " << native << ": " << unreadableReason(native, format) << "\n";
    return false;
}

void reportRepairs(CommandContext& context, const std::string& shown, const CRSSChannel& channel,
                   const std::string& native) {
    for (const CString& repair : channel.m_repaired) {
        std::string what;
        if (repair == u"entities") {
            std::string names = listEntityNames(undeclaredHtmlEntityNames(native));
            what = "HTML entity names the feed does not declare" +
                   (names.empty() ? std::string() : " (" + names + ")") +
                   " were read as the characters they stand for";
        } else if (repair == u"dropped entities") {
            what =
                "references to entities only the feed's document type could declare (it is not "
                "read) were left out";
        } else if (repair == u"encoding") {
            what =
                "the bytes are UTF-8, not in the encoding the feed declares, and were read as "
                "UTF-8";
        } else {
            what = repair.toUtf8();
        }
        context.err << "newsdesk: " << shown << ": repaired " << repair.toUtf8() << ": " << what
                    << "\n";
    }
}

std::string saveFailureReason(unsigned long error, const std::string& native) {
    switch (error) {
        case ERROR_DISK_FULL:
            return "no space left on the device";
        case ERROR_FILE_TOO_LARGE:
            return "the file would be larger than this process may write";
        case ERROR_ACCESS_DENIED: {
            struct stat st {};
            if (::stat(native.c_str(), &st) == 0 &&
                ((st.st_mode & 0222) == 0 || ::access(native.c_str(), W_OK) != 0)) {
                return "the file is read-only";
            }
            return "not writable";
        }
        case ERROR_ALREADY_EXISTS:
            return "something that is not a regular file is in the way";
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "no such folder";
        case ERROR_BAD_PATHNAME:
            return "the name is too long";
        case ERROR_WRITE_FAULT:
            return "an input/output error";
        case ERROR_INVALID_DATA:
            return "the feed could not be made from the record";
        default:
            return "the save failed (error " + std::to_string(error) + ")";
    }
}

std::string savePlaceProblem(const std::string& native) {
    std::filesystem::path target(native);
    std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec)) {
        return "is a folder";
    }
    if (!std::filesystem::is_directory(folder, ec)) {
        return "no such folder";
    }
    if (::access(folder.c_str(), W_OK) != 0) {
        return "the folder is not writable";
    }
    return "";
}

SaveOutcome writeFeed(CommandContext& context, const std::string& native, CRSSChannel& channel) {
    auto path = windowsPathOf(context, native);
    if (!path) {
        return SaveOutcome::Failed;
    }
    if (channel.m_format < 0 || channel.m_format > 2) {
        context.err << "newsdesk: unknown format " << channel.m_format
                    << " (0 RSS 1.0, 1 RSS 2.0, 2 podcast)\n";
        return SaveOutcome::Failed;
    }
    if (std::string problem = savePlaceProblem(native); !problem.empty()) {
        context.err << "newsdesk: " << native << ": " << problem << "\n";
        return SaveOutcome::Failed;
    }
    auto rewrite = context.module.entry<lum::RewriteRssFileEntryFn>(lum::slot::RewriteRssFile);
    if (rewrite == nullptr) {
        context.err << "newsdesk: the module offers no RewriteRssFileEntry\n";
        return SaveOutcome::Failed;
    }
    struct stat before {};
    bool existed = ::stat(native.c_str(), &before) == 0;
    SetLastError(ERROR_SUCCESS);
    rewrite(*path, &channel);
    DWORD error = GetLastError();
    struct stat after {};
    if (error == ERROR_SUCCESS && ::stat(native.c_str(), &after) != 0) {
        error = ERROR_FILE_NOT_FOUND;
    }
    if (error != ERROR_SUCCESS) {
        context.err << "newsdesk: " << native << ": not saved: " << saveFailureReason(error, native)
                    << "\n";
        return SaveOutcome::Failed;
    }
    // Every save replaces the file by a new one; a file left as it was
    // keeps its identity and time.
    bool same = existed && before.st_dev == after.st_dev && before.st_ino == after.st_ino &&
                before.st_mtim.tv_sec == after.st_mtim.tv_sec &&
                before.st_mtim.tv_nsec == after.st_mtim.tv_nsec;
    return same ? SaveOutcome::Unchanged : SaveOutcome::Written;
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
