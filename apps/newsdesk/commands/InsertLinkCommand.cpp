// newsdesk [--site DIR] insert-link PAGE --at LINE:COLUMN: the page opened as
// the editor would hold it, with the cursor at LINE:COLUMN, handed to
// InsertRssLinkEntry; saved when the command reports a change.
#include "Commands.h"
#include "FeedFiles.h"
#include "FeedPath.h"
#include "InputFile.h"

#include "hostapp/app/PageEditor.h"
#include "hostapp/files/FailedSaves.h"
#include "hostapp/pages/COrvHTMLDocUtil.h"
#include "hostapp/pages/LinkPlace.h"
#include "hostapp/records/FunctionTable.h"
#include "win32/PathMapping.h"
#include "win32/UiDriver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <ostream>

namespace newsdesk::app {

namespace {

constexpr std::size_t kLargestPage = std::size_t{16} << 20;  // as PageDocument takes

bool parseNumber(std::string_view text, long& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value > 0;
}

// "12:5" -> line 12, column 5.
bool parseCursor(const std::string& text, long& line, long& column) {
    size_t colon = text.find(':');
    return colon != std::string::npos &&
           parseNumber(std::string_view(text).substr(0, colon), line) &&
           parseNumber(std::string_view(text).substr(colon + 1), column);
}

}  // namespace

int runInsertLink(CommandContext& context) {
    std::string page;
    std::string at;
    for (size_t i = 0; i < context.args.size(); ++i) {
        const std::string& arg = context.args[i];
        if (arg == "--at") {
            if (i + 1 >= context.args.size() || !at.empty()) {
                return usageError(context);
            }
            at = context.args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return unknownOption(context, arg);
        } else if (page.empty()) {
            page = arg;
        } else {
            return usageError(context);
        }
    }
    long line = 0;
    long column = 0;
    if (page.empty() || at.empty()) {
        return usageError(context);
    }
    if (!parseCursor(at, line, column)) {
        context.err << "newsdesk: insert-link: --at takes LINE:COLUMN, both from 1 (not " << at
                    << ")\n";
        return 2;
    }
    auto windows = feedPathArgument(page, context.err);
    if (!windows) {
        return 1;
    }
    std::string bytes;
    std::string error;
    if (!readInputFile(page, kLargestPage, bytes, error)) {
        context.err << "newsdesk: " << page << ": " << error << "\n";
        return 1;
    }
    // Said before the dialog rather than after the person filled it in.
    struct stat st {};
    if (::stat(page.c_str(), &st) != 0 || (st.st_mode & 0222) == 0 ||
        ::access(page.c_str(), W_OK) != 0) {
        context.err << "newsdesk: " << page << ": the page is read-only; nothing changed\n";
        return 1;
    }
    auto editor = lum::page::PageEditor::open(*windows, std::move(bytes), error);
    if (!editor) {
        context.err << "newsdesk: " << page << ": " << error << "\n";
        return 1;
    }
    auto offset = editor->document().offsetOfLineColumn(line, column);
    if (!offset) {
        context.err << "newsdesk: " << page << ": the cursor " << at
                    << " lies outside the page's text\n";
        return 1;
    }
    editor->docUtil().setCursor(*offset);
    // In the head (or past the body) a new link would have no place to go.
    Node node;
    long within = 0;
    if (!editor->docUtil().getCursorPos(node, within)) {
        context.err << "newsdesk: " << page << ": the cursor " << at
                    << " is not in the page's body\n";
        return 1;
    }
    // A new link where none can stand would be moved by every browser or
    // shown as text: said before the dialog. A feed link there is edited.
    if (std::string why = lum::page::whyNoLinkAt(node, within);
        !why.empty() && editor->docUtil().isTagExist(kHtmlTypeAnchor, Node()).isNull()) {
        context.err << "newsdesk: " << page << ": no link can stand at " << at << " (" << why
                    << "); nothing changed\n";
        return 1;
    }
    auto insert = context.module.entry<lum::InsertRssLinkEntryFn>(lum::slot::InsertRssLink);
    if (insert == nullptr) {
        context.err << "newsdesk: the module offers no InsertRssLinkEntry\n";
        return 1;
    }
    if (!needsSomeoneToAnswer(context)) {
        return 2;
    }
    lum::takeFailedSaves();
    insert(editor.get());
    // An icon that could not be copied into the site leaves the page as it was.
    if (auto failed = lum::takeFailedSaves(); !failed.empty()) {
        auto native = nd::win32::toNativePath(failed.front().path.view());
        std::string where = native ? *native : failed.front().path.toUtf8();
        context.err << "newsdesk: " << where
                    << ": not saved: " << saveFailureReason(failed.front().error, where)
                    << "; the page is unchanged\n";
        return 1;
    }
    if (!editor->changed()) {
        context.out << "unchanged\n";
        return 0;
    }
    bool written = false;
    if (!editor->save(error, &written)) {
        context.err << "newsdesk: " << page << ": " << error << "\n";
        return 1;
    }
    // A link removed that was never there changes no byte.
    context.out << (written ? "saved\n" : "unchanged\n");
    return 0;
}

}  // namespace newsdesk::app
