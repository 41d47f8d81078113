// A feed judged against the rules of its format (check/FeedRules.h): each
// problem with the line and column of the element it is about.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace newsdesk::check {

struct Problem {
    long line = 0;
    long column = 0;  // of the element's "<"; 0 when not known
    bool warning = false;
    std::string message;
};

// Top-level iTunes category -> its subcategories.
using CategoryTable = std::map<std::string, std::set<std::string>>;

// The problems of the feed at path (a path of this machine) as a feed of
// format (0 RSS 1.0, 1 RSS 2.0, 2 podcast), in document order; a file that
// is not well-formed XML has that as its one problem. False when the format
// is none of these or no parser could be made.
bool checkFeed(const std::string& path, int format, const CategoryTable& categories,
               std::vector<Problem>& problems);

}  // namespace newsdesk::check
