// newsdesk edit [FEED]: the feed settings dialog on a feed file, or on a new
// feed, through EditRssFileEntry; the dialogs are played from the UI script.
#include "Commands.h"
#include "FeedFiles.h"
#include "FeedPath.h"

#include "hostapp/files/FailedSaves.h"
#include "hostapp/records/FunctionTable.h"
#include "win32/PathMapping.h"

#include <filesystem>
#include <ostream>

namespace newsdesk::app {

namespace {

std::string nativeOf(const CString& windowsPath) {
    auto native = nd::win32::toNativePath(windowsPath.view());
    return native ? *native : windowsPath.toUtf8();
}

}  // namespace

int runEdit(CommandContext& context) {
    if (context.args.size() > 1) {
        return usageError(context);
    }
    CString path;
    std::string native;
    if (!context.args.empty()) {
        native = context.args[0];
        auto windows = feedPathArgument(native, context.err);
        if (!windows) {
            return 1;
        }
        path = *windows;
        // Said before the dialog opens, not after the person filled it in.
        // A feed that is there opens even where it cannot be saved: it may
        // be looked at.
        std::error_code ec;
        std::string problem = savePlaceProblem(native);
        if (!problem.empty() && !std::filesystem::is_regular_file(native, ec)) {
            context.err << "newsdesk: " << native << ": " << problem << "\n";
            return 1;
        }
    }
    auto edit = context.module.entry<lum::EditRssFileEntryFn>(lum::slot::EditRssFile);
    if (edit == nullptr) {
        context.err << "newsdesk: the module offers no EditRssFileEntry\n";
        return 1;
    }
    if (!needsSomeoneToAnswer(context)) {
        return 2;
    }
    lum::takeFailedSaves();
    bool shown = edit(nullptr, path, true, nullptr);
    auto failed = lum::takeFailedSaves();
    if (!failed.empty()) {
        std::string where = nativeOf(failed.front().path);
        context.err << "newsdesk: " << where
                    << ": not saved: " << saveFailureReason(failed.front().error, where) << "\n";
        return 1;
    }
    if (shown) {
        return 0;
    }
    std::error_code ec;
    if (!native.empty() && std::filesystem::exists(native, ec)) {
        int format = -1;
        context.module.entry<lum::GetRssFormatEntryFn>(lum::slot::GetRssFormat)(path, &format);
        context.err << "newsdesk: " << native << ": " << unreadableReason(native, format) << "\n";
    } else {
        context.err << "newsdesk: the new feed was not saved: no file name was given\n";
    }
    return 1;
}

}  // namespace newsdesk::app
