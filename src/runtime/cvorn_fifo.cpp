// The message queue.
#include "runtime/cvorn_fifo.h"

#include <algorithm>
#include <new>

#include "interpreter/format.h"
#include "interpreter/host.h"
#include "runtime/log_file.h"

namespace velcrum {

int Cvorn_fifo::Init(std::string_view owner, std::string_view name, int maxPayload, int capacity) {
  if (name.empty() || name.size() > kNameLimit || maxPayload < 1 || maxPayload > kMaxPayloadLimit ||
      capacity < 1 || capacity > kCapacityLimit) {
    return 0;
  }
  owner_ = owner.substr(0, kNameLimit);
  name_ = name;
  maxPayload_ = maxPayload;
  capacity_ = capacity;
  entries_.reset(new (std::nothrow) FifoEntry[static_cast<size_t>(capacity)]);
  Reset();
  return 1;
}

void Cvorn_fifo::Reset() {
  count_ = 0;
  highWaterMark_ = 0;
  writeIndex_ = 0;
  readIndex_ = 0;
  if (!entries_) return;
  for (int i = 0; i < capacity_; ++i) entries_[i] = FifoEntry{};
}

bool Cvorn_fifo::Store(FifoEntry&& entry) {
  if (!entries_) return false;
  if (count_ >= capacity_) {
    const std::string message = Format("<%s> %s: write buffer is full, discarding new data: %d, %d",
                                       owner_.c_str(), name_.c_str(), writeIndex_, readIndex_);
    WriteLogLine(message);
    TheHost().SystemDebuggerOut(message);
    return false;
  }
  entries_[writeIndex_] = std::move(entry);
  ++count_;
  highWaterMark_ = std::max(highWaterMark_, count_);
  writeIndex_ = (writeIndex_ + 1) % capacity_;
  return true;
}

int Cvorn_fifo::Put(uint32_t window, uint32_t message, uint32_t wParam, int32_t spare,
                    int32_t lParam) {
  return Store(FifoEntry{window, message, wParam, spare, lParam, {}}) ? 1 : 0;
}

int Cvorn_fifo::PutData(uint32_t window, uint32_t message, uint32_t wParam, int32_t spare,
                        int32_t lParam, const void* data, int length) {
  if (length <= 0 || !data) return 0;
  const auto* bytes = static_cast<const char*>(data);
  FifoEntry entry{window, message, wParam, spare, lParam, {}};
  entry.payload.assign(bytes, bytes + std::min(length, maxPayload_));
  return Store(std::move(entry)) ? 1 : 0;
}

int Cvorn_fifo::Get(FifoEntry& entry) {
  if (!entries_ || count_ < 1) return 0;
  entry = std::move(entries_[readIndex_]);
  entries_[readIndex_] = FifoEntry{};
  --count_;
  readIndex_ = (readIndex_ + 1) % capacity_;
  return 1;
}

}  // namespace velcrum
