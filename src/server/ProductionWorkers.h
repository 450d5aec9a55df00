#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "server/ProductionRequests.h"
#include "server/WorkerProduction.h"

namespace mts {

// Whether the database answers, as the workers last found it.
struct DatabaseState {
  bool up = false;
  std::string detail;  // what failed, when down
};

struct ProductionWorkersSettings {
  std::size_t workers = 4;  // threads, each with its own WorkerProduction; at least 1
  // A request with no answer from the database within this time is cancelled
  // (WorkerProduction::Cancel) and answered with the failure it then raises;
  // if even the cancel gets no answer within `hardCancelAfter`, the link is
  // given up (Cancel(true)).
  std::chrono::milliseconds deadline{15000};
  std::chrono::milliseconds hardCancelAfter{2000};
  // An idle worker checks the database this often (WorkerProduction::
  // CheckDatabase) so that the state follows the database within seconds.
  std::chrono::milliseconds healthInterval{3000};
  // Reserve workers stand in for workers held by one call: a card waiting on a
  // row the office holds keeps its worker for the whole lock timeout, and a few
  // such cards would otherwise leave nobody for the rest of the floor. While
  // requests wait, no worker is free and `n` calls have run longer than
  // `heldAfter`, up to `n` reserves take requests too. A reserve connects when
  // first needed and lets its connection go after `reserveIdle` without work.
  std::size_t reserves = 0;
  std::chrono::milliseconds heldAfter{1000};
  std::chrono::milliseconds reserveIdle{30000};
};

// The database workers: badges and cards run on worker threads, each with its
// own WorkerProduction (made on that thread, started there in the background
// as soon as the workers are created), and their answers go back to the event
// loop through `postToLoop`.
//
// While the database is known to be out of reach (an attach or a check
// failed, or a request lost its connection), requests are answered at once
// with that failure instead of waiting on it; an idle worker checks it again
// every healthInterval and reports each change of state through
// `stateChanged`, on the loop.
//
// Requests run in the order they arrive, side by side on the free workers.
// Stop (or the destructor) drops the requests not yet started without
// answering them, lets the running ones end (committed or rolled back, never
// cut half-way) and joins the threads; answers posted after that are dropped.
class ProductionWorkers final : public ProductionRequests {
 public:
  using MakeProduction = std::function<std::unique_ptr<WorkerProduction>(std::size_t worker)>;
  // Runs work on the event-loop thread; callable from any thread.
  using PostToLoop = std::function<void(std::function<void()> work)>;
  using StateChanged = std::function<void(const DatabaseState& state)>;

  ProductionWorkers(ProductionWorkersSettings settings, MakeProduction make, PostToLoop postToLoop,
                    StateChanged stateChanged = {});
  ~ProductionWorkers() override;
  ProductionWorkers(const ProductionWorkers&) = delete;
  ProductionWorkers& operator=(const ProductionWorkers&) = delete;

  void LookUpBadge(const std::string& badge, BadgeAnswer answer) override;
  void PostCard(const CardRequest& request, CardAnswer answer) override;

  // Loop thread. Idempotent.
  void Stop();

  // The state as last reported on the loop.
  DatabaseState State() const;

 private:
  struct Impl;
  std::shared_ptr<Impl> impl_;
};

}  // namespace mts
