// Cvorn_fifo: the ring-buffer message queue that decouples incoming events from script
// execution. The shell keeps two: "CmdFifo" for control presses and "RevFifo" for
// network messages, drained in that order by the queue drain.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

// One queued message. The payload is the queue's private copy of the message's data.
struct FifoEntry {
  uint32_t window = 0;
  uint32_t message = 0;
  uint32_t wParam = 0;
  int32_t spare = 0;
  int32_t lParam = 0;
  std::vector<char> payload;
};

class Cvorn_fifo {
 public:
  static constexpr int kMaxPayloadLimit = 1024;
  static constexpr int kCapacityLimit = 65535;
  static constexpr size_t kNameLimit = 256;

  // 1 when the queue was set up; 0 for an empty or over-long name, a max payload
  // outside 1 to 1024 or a capacity outside 1 to 65535.
  int Init(std::string_view owner, std::string_view name, int maxPayload, int capacity);

  // Empties the queue and its counters.
  void Reset();

  // Stores an entry without a payload. 1 when stored, 0 when the queue is full (the
  // entry is dropped and reported) or was never set up.
  int Put(uint32_t window, uint32_t message, uint32_t wParam, int32_t spare, int32_t lParam);

  // Stores an entry with a copy of length bytes of data, cut to the max payload. A
  // length of 0 or less stores nothing. 1 when stored, 0 otherwise.
  int PutData(uint32_t window, uint32_t message, uint32_t wParam, int32_t spare, int32_t lParam,
              const void* data, int length);

  // Takes the oldest entry, payload and all (the payload leaves the queue with it).
  // 1 when there was one.
  int Get(FifoEntry& entry);

  int GetCount() const { return count_; }
  int GetHighWaterMark() const { return highWaterMark_; }
  const std::string& GetName() const { return name_; }

 private:
  bool Store(FifoEntry&& entry);

  std::string owner_;
  std::string name_;
  int maxPayload_ = 0;
  int capacity_ = 0;
  int count_ = 0;
  int highWaterMark_ = 0;
  int writeIndex_ = 0;
  int readIndex_ = 0;
  std::unique_ptr<FifoEntry[]> entries_;
};

}  // namespace velcrum
