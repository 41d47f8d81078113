// How the process's heap treats the small blocks freed to it. A large feed
// is millions of small blocks (its XML tree, then its record's texts), and
// how glibc's malloc takes them back decides a good part of what reading
// and rewriting one costs.
#pragma once

namespace nd::heap {

// Small blocks are merged with their free neighbours as soon as they are
// freed (glibc's fast bins off). Fast bins defer the merging to the next
// large request, which then walks every block a freed tree left, cold. For
// the host program to choose at its start, before any thread runs.
void mergeSmallBlocksOnFree();

// While it lives, small blocks go back to the fast bins when freed and are
// handed out again as they are: for work that frees a few dozen blocks and
// asks for as many again right after, many thousand times over (a feed
// compared item by item, each item's tree freed once compared), which
// merging on free would make split and merge every block each time. Does
// nothing unless the process merges on free, or while other threads run:
// the setting is the whole process's.
class SmallBlocksReused {
  public:
    SmallBlocksReused();
    ~SmallBlocksReused();
    SmallBlocksReused(const SmallBlocksReused&) = delete;
    SmallBlocksReused& operator=(const SmallBlocksReused&) = delete;

    // Whether the fast bins were turned on for this one's life.
    bool active() const { return m_active; }

  private:
    bool m_active = false;
};

}  // namespace nd::heap
