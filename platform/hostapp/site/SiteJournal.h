// The record of a site operation that changes several files (a rename or a
// delete with the pages that link to the file), kept beside the site's
// database while the operation runs. A newsdesk killed half-way leaves it
// behind; the next one to take the site finishes or undoes the operation
// from it, so that no page is left naming a file the operation moved or
// removed, and none of the operation's temporary files stays.
#pragma once

#include <string>
#include <vector>

namespace lum::site {

// The journal file of the site in root (a native folder); its name starts
// with the database's, so the scanner leaves it out.
std::string journalPath(const std::string& root);

// Every path is native and absolute; the file holds them relative to the root.
struct Journal {
    enum class Operation { Move, Delete };
    Operation operation = Operation::Move;
    // false while the pages' new contents are being written, when nothing
    // else has changed yet; true once all of them are on disk, when the file
    // may have begun to move or go.
    bool staged = false;
    std::vector<std::string> files;    // the file that moves, or the files that go
    std::string destination;           // where a move takes it
    std::vector<std::string> folders;  // the folders a move makes, outermost first
    struct Page {
        std::string path;    // what takes the new content
        std::string staged;  // where the new content waits; empty until written
    };
    std::vector<Page> pages;
};

// Replaces the site's journal, on disk before it returns; false with the
// reason in error.
bool writeJournal(const std::string& root, const Journal& journal, std::string& error);
// Removes the site's journal once its operation is over.
void clearJournal(const std::string& root);

// When the site in root has a journal, finishes its operation when the
// files had begun to change, else undoes it, and removes the journal; the
// caller holds the site's lock. Returns the line saying which ("completed an
// interrupted move of a.rss to b.rss"), empty when there was no journal.
std::string finishInterruptedOperation(const std::string& root);

// A point between two steps of a site operation. With NEWSDESK_TEST_STOP_AT=N
// in the environment the process is killed at the N-th point reached, as a
// crash or a power cut would stop it, so that the suite can check what the
// next command makes of every such moment.
void operationStep();

}  // namespace lum::site
