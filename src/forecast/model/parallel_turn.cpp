#include "forecast/model/parallel_turn.h"

#include <algorithm>
#include <utility>

namespace quorvel::forecast::model {

ParallelTurn::ParallelTurn(const experiment::model::RunFields& fields,
                           const experiment::model::Options& options,
                           std::optional<ClassicalArms> arms, std::vector<TurnPosition> positions,
                           unsigned workers)
    : fields_(fields),
      options_(options),
      arms_(std::move(arms)),
      positions_(std::move(positions)),
      results_(positions_.size()) {
  const auto count = static_cast<unsigned>(
      std::min<std::size_t>(std::max(workers, 1u), std::max<std::size_t>(positions_.size(), 1)));
  running_ = count;
  threads_.reserve(count);
  try {
    for (unsigned i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
  } catch (...) {
    // A thread that could not be made: the ones running stop before the error goes on.
    stop();
    join();
    throw;
  }
}

ParallelTurn::~ParallelTurn() {
  stop();
  join();
}

void ParallelTurn::work() {
  for (;;) {
    const std::size_t index = next_.fetch_add(1);
    if (index >= positions_.size() || stop_.requested()) break;
    PositionResult r = runPosition(fields_, options_, arms_, positions_[index], &stop_);
    const bool kept = r.outcome != experiment::model::RunOutcome::Stopped;
    std::lock_guard lock(mutex_);
    results_[index] = std::move(r);
    if (kept) finished_.push_back(index);
    changed_.notify_all();
  }
  std::lock_guard lock(mutex_);
  --running_;
  changed_.notify_all();
}

void ParallelTurn::waitForProgress(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return !finished_.empty() || running_ == 0; });
}

std::vector<std::size_t> ParallelTurn::takeFinished() {
  std::lock_guard lock(mutex_);
  return std::exchange(finished_, {});
}

bool ParallelTurn::finished() const {
  std::lock_guard lock(mutex_);
  return running_ == 0;
}

void ParallelTurn::join() {
  for (std::thread& t : threads_) {
    if (t.joinable()) t.join();
  }
}

}  // namespace quorvel::forecast::model
