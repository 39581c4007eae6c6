#pragma once
// A file descriptor that a thread can poll next to its line to be told to
// stop waiting (an eventfd): once signalled it stays readable until Clear.

namespace kv {

class WakeEvent {
  public:
    WakeEvent();
    ~WakeEvent();
    WakeEvent(const WakeEvent&) = delete;
    WakeEvent& operator=(const WakeEvent&) = delete;

    int Fd() const { return fd_; }
    void Signal();
    void Clear();

  private:
    int fd_;
};

} // namespace kv
