// newsdesk check [--json] FEED: what makes the feed invalid in its format,
// one line per problem with its line and column; status 0 when valid
// (warnings allowed), 1 with problems or when the feed cannot be read.
#include "Commands.h"
#include "FeedFiles.h"
#include "check/FeedCheck.h"

#include "hostapp/feedxml/CLumItunesCategoryXmlData.h"
#include "hostapp/files/CKmxCommon.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace newsdesk::app {

namespace {

// The iTunes categories the category dialog offers, from the product folder.
check::CategoryTable itunesCategories() {
    check::CategoryTable table;
    CLumItunesCategoryXmlData list(CKmxCommon::getProductFolder(0, 0) + u"itunescategory.xml");
    if (!list.IsOK()) {
        return table;
    }
    NodeArray tops;
    list.getCategoryNodeArray(list.getTopNode(), tops);
    for (const Node& top : tops) {
        CString name;
        list.getCategoryName(top, name);
        auto& subs = table[name.toUtf8()];
        NodeArray nested;
        list.getCategoryNodeArray(top, nested);
        for (const Node& sub : nested) {
            list.getCategoryName(sub, name);
            subs.insert(name.toUtf8());
        }
    }
    return table;
}

const char* formatName(int format) {
    switch (format) {
        case 0:
            return "RSS 1.0";
        case 1:
            return "RSS 2.0";
        default:
            return "podcast";
    }
}

}  // namespace

int runCheck(CommandContext& context) {
    bool json = false;
    std::string feed;
    for (const auto& arg : context.args) {
        if (arg == "--json") {
            json = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return unknownOption(context, arg);
        } else if (feed.empty() && !arg.empty()) {
            feed = arg;
        } else {
            return usageError(context);
        }
    }
    if (feed.empty()) {
        return usageError(context);
    }
    // Read as read reads it: a file the module does not take is no feed.
    CRSSChannel channel;
    if (!readFeed(context, feed, channel)) {
        return 1;
    }
    std::vector<check::Problem> problems;
    if (!check::checkFeed(feed, channel.m_format, itunesCategories(), problems)) {
        context.err << "newsdesk: " << feed << ": cannot be checked\n";
        return 1;
    }
    int errors = 0;
    int warnings = 0;
    for (const auto& problem : problems) {
        (problem.warning ? warnings : errors) += 1;
    }
    if (json) {
        nlohmann::ordered_json out;
        out["feed"] = feed;
        out["format"] = formatName(channel.m_format);
        out["valid"] = errors == 0;
        out["problems"] = nlohmann::ordered_json::array();
        for (const auto& problem : problems) {
            out["problems"].push_back({{"line", problem.line},
                                       {"column", problem.column},
                                       {"severity", problem.warning ? "warning" : "error"},
                                       {"message", problem.message}});
        }
        context.out << out.dump(2) << "\n";
    } else {
        for (const auto& problem : problems) {
            context.out << feed << ":" << problem.line << ":" << problem.column << ": "
                        << (problem.warning ? "warning" : "error") << ": " << problem.message
                        << "\n";
        }
        context.out << feed << ": ";
        if (errors == 0) {
            context.out << "valid " << formatName(channel.m_format);
        } else {
            context.out << "not valid " << formatName(channel.m_format) << ": " << errors
                        << (errors == 1 ? " error" : " errors");
        }
        if (warnings > 0) {
            context.out << ", " << warnings << (warnings == 1 ? " warning" : " warnings");
        }
        context.out << "\n";
    }
    return errors == 0 ? 0 : 1;
}

}  // namespace newsdesk::app
