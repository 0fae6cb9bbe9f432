#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "experiment/model/engine.h"
#include "forecast/model/turn.h"

namespace quorvel::forecast::model {

// The positions of a turn (or of several) run side by side on worker threads, each run with
// its own engine state. The caller's thread stays free: it waits a little at a time, takes
// the positions that have finished and may ask everything to stop. A position stopped
// before its rays arrived gives no result; the ones finished before stay.
class ParallelTurn {
 public:
  // Starts `workers` threads (at least one, at most one per position).
  ParallelTurn(const experiment::model::RunFields& fields,
               const experiment::model::Options& options, std::optional<ClassicalArms> arms,
               std::vector<TurnPosition> positions, unsigned workers);
  // Stops the runs and waits for the threads.
  ~ParallelTurn();
  ParallelTurn(const ParallelTurn&) = delete;
  ParallelTurn& operator=(const ParallelTurn&) = delete;

  // Waits until a position finishes, every thread has ended or `timeout` has passed.
  void waitForProgress(std::chrono::milliseconds timeout);
  // The positions finished since the last call (their indexes in the list given), in the
  // order they finished; a stopped run is not among them.
  std::vector<std::size_t> takeFinished();
  const PositionResult& result(std::size_t index) const { return results_[index]; }
  std::size_t size() const { return positions_.size(); }

  // Asks every run to stop: the running ones end at their next refresh, the rest never start.
  void stop() { stop_.request(); }
  bool stopRequested() const { return stop_.requested(); }
  // Every thread has ended (all positions done, or stopped).
  bool finished() const;
  // Waits for the threads to end.
  void join();

 private:
  void work();

  const experiment::model::RunFields fields_;
  const experiment::model::Options options_;
  const std::optional<ClassicalArms> arms_;
  const std::vector<TurnPosition> positions_;
  std::vector<PositionResult> results_;
  experiment::model::StopToken stop_;
  std::atomic<std::size_t> next_{0};
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::size_t> finished_;  // guarded by mutex_
  unsigned running_ = 0;               // guarded by mutex_
  std::vector<std::thread> threads_;
};

}  // namespace quorvel::forecast::model
