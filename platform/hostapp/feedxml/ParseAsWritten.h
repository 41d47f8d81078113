// The check that a save parses back, made while the file is written: a
// thread of its own parses the bytes as they reach the file, so that the
// answer is there soon after the last byte instead of a whole parse later.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace lum::xml {

class ParseAsWritten {
  public:
    // Parses what is written to fd from its start.
    explicit ParseAsWritten(int fd);
    // Stops the parse, when wellFormed was never asked.
    ~ParseAsWritten();
    ParseAsWritten(const ParseAsWritten&) = delete;
    ParseAsWritten& operator=(const ParseAsWritten&) = delete;

    // The file holds its bytes up to end.
    void written(off_t end);
    // After the last byte: whether all the bytes written are well-formed
    // XML (namespace slips the reader forgives aside). Waits for the parse.
    bool wellFormed();

  private:
    void parse();
    // The end of what is written once it lies beyond offset, or the final
    // end; -1 when the parse is to stop.
    off_t waitBeyond(off_t offset);
    void finish(bool stop);

    // What the parse reads at a time.
    static constexpr off_t kPiece = 1 << 16;

    int m_fd;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    off_t m_written = 0;
    // The end the parse was last woken for.
    off_t m_told = 0;
    bool m_last = false;
    bool m_stop = false;
    bool m_wellFormed = false;
    std::thread m_thread;
};

}  // namespace lum::xml
