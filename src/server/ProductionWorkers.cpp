#include "server/ProductionWorkers.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "dataaccess/firebird/DatabaseError.h"

namespace mts {
namespace {

using Clock = std::chrono::steady_clock;

std::string Describe(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "unknown failure";
  }
}

bool LostConnection(const std::exception_ptr& failure) {
  if (!failure) return false;
  try {
    std::rethrow_exception(failure);
  } catch (const db::DatabaseError& e) {
    return e.connectionLost();
  } catch (...) {
    return false;
  }
}

// The failure a request gets while the database is known to be out of reach:
// classified as a lost connection, so the terminal words it as one.
std::exception_ptr OutOfReach(const std::string& detail) {
  return std::make_exception_ptr(
      db::DatabaseError("The database is out of reach: " + detail, /*connectionLost=*/true));
}

// What the loop thread owns: whether answers may still run there, and the
// state as last reported. Shared with every continuation posted to the loop,
// so that one running after Stop finds the door closed.
struct LoopSide {
  std::atomic<bool> open{true};
  std::mutex mutex;
  DatabaseState reported;
  std::uint64_t reportedChange =
      0;  // the newest change applied; older ones arriving late are stale
  ProductionWorkers::StateChanged stateChanged;
};

// A badge or a card waiting for, or running on, a worker.
class Job {
 public:
  virtual ~Job() = default;
  // Calls production; never throws. Answers the failure, null on success.
  virtual std::exception_ptr Run(WorkerProduction& production) = 0;
  // Makes the answer this failure alone, without running.
  virtual void Fail(std::exception_ptr failure) = 0;
  // The continuation that hands the answer over (once).
  virtual std::function<void()> Answer() = 0;
};

template <class Outcome>
class RequestJob final : public Job {
 public:
  using Call = std::function<Outcome(WorkerProduction&)>;
  using Answered = std::function<void(Outcome)>;

  RequestJob(Call call, Answered answered)
      : call_(std::move(call)), answered_(std::move(answered)) {}

  std::exception_ptr Run(WorkerProduction& production) override {
    // Production reports its failures in the outcome; anything thrown all the
    // same becomes the outcome's failure rather than ending the worker.
    try {
      outcome_ = call_(production);
    } catch (...) {
      Fail(std::current_exception());
    }
    return outcome_.failure;
  }

  void Fail(std::exception_ptr failure) override {
    outcome_ = Outcome{};
    outcome_.failure = std::move(failure);
  }

  std::function<void()> Answer() override {
    return [answered = std::move(answered_), outcome = std::move(outcome_)]() mutable {
      answered(std::move(outcome));
    };
  }

 private:
  Call call_;
  Answered answered_;
  Outcome outcome_;
};

}  // namespace

struct ProductionWorkers::Impl {
  enum class Reach { Unknown, Up, Down };

  // What the watcher sees of one worker. Guarded by `mutex`, except
  // `cancelling`.
  struct Slot {
    // Held by the watcher around Cancel, and by the worker to end a call or
    // drop its production: Cancel only ever reaches the call it was meant for,
    // on a production that still exists.
    std::mutex cancelling;
    WorkerProduction* production = nullptr;
    bool busy = false;
    std::uint64_t call = 0;  // counts the worker's calls, to tell them apart
    int cancels = 0;         // of this call: 1 after Cancel(false), 2 after Cancel(true)
    Clock::time_point nextCancel;
    Clock::time_point heldFrom;  // when this call, still running, counts as held
    bool held = false;           // the watcher found it running past heldFrom
  };

  // What one worker thread owns.
  struct Worker {
    std::size_t index;
    Slot& slot;
    std::unique_ptr<WorkerProduction> production;
    bool started = false;
    Clock::time_point lastUsed{};  // reserves: when their last request ended
  };

  struct Task {
    std::unique_ptr<Job> job;  // null for a health check
  };

  Impl(ProductionWorkersSettings s, MakeProduction m, PostToLoop p, StateChanged changed)
      : settings(s),
        make(std::move(m)),
        postToLoop(std::move(p)),
        loop(std::make_shared<LoopSide>()) {
    settings.workers = std::max<std::size_t>(settings.workers, 1);
    loop->stateChanged = std::move(changed);
    for (std::size_t i = 0; i < settings.workers + settings.reserves; ++i)
      slots.push_back(std::make_unique<Slot>());
    lastActivity = Clock::now();
  }

  void Launch() {
    watcher = std::thread([this] { Watch(); });
    for (std::size_t i = 0; i < settings.workers; ++i) workers.emplace_back([this, i] { Work(i); });
    for (std::size_t r = 0; r < settings.reserves; ++r)
      workers.emplace_back([this, r] { Reserve(settings.workers + r, r); });
  }

  // --- the loop side ---

  void Submit(std::unique_ptr<Job> job) {
    std::exception_ptr refusal;
    {
      std::lock_guard lock(mutex);
      if (stopping) return;  // dropped unanswered, like the queue at Stop
      if (reach != Reach::Down) {
        queue.push_back(std::move(job));
        wake.notify_one();
        if (idleWorkers == 0 && HeldCalls() > 0) reserveWake.notify_all();
        return;
      }
      refusal = OutOfReach(detail);
    }
    job->Fail(refusal);
    Post(job->Answer());
  }

  void Stop() {
    std::deque<std::unique_ptr<Job>> dropped;
    {
      std::lock_guard lock(mutex);
      stopping = true;
      dropped.swap(queue);
    }
    loop->open = false;
    wake.notify_all();
    reserveWake.notify_all();
    for (auto& worker : workers)
      if (worker.joinable()) worker.join();
    // The watcher goes last: a running call may need its cancel to end.
    {
      std::lock_guard lock(mutex);
      watcherStopping = true;
    }
    watcherWake.notify_all();
    if (watcher.joinable()) watcher.join();
  }

  // Runs `work` on the loop, unless the workers are stopped by then.
  void Post(std::function<void()> work) {
    if (!loop->open) return;
    postToLoop([loop = loop, work = std::move(work)] {
      if (loop->open) work();
    });
  }

  // --- a worker thread ---

  void Work(std::size_t index) {
    Worker worker{index, *slots[index], nullptr, false};
    // Attach at once, so the first request finds the worker ready.
    RunCheck(worker, /*scheduled=*/false);
    while (std::optional<Task> task = NextTask()) {
      if (task->job)
        RunRequest(worker, *task->job);
      else
        RunCheck(worker, /*scheduled=*/true);
    }
    DropProduction(worker);
  }

  // Waits for a request, or for a health check to be due. Empty when stopping.
  std::optional<Task> NextTask() {
    std::unique_lock lock(mutex);
    for (;;) {
      if (stopping) return std::nullopt;
      if (!queue.empty()) {
        Task task{std::move(queue.front())};
        queue.pop_front();
        lastActivity = Clock::now();
        return task;
      }
      if (checkRunning) {
        WaitIdle(lock, std::nullopt);  // woken when the check ends, a request comes or Stop
        continue;
      }
      const Clock::time_point due = lastActivity + settings.healthInterval;
      if (Clock::now() >= due) {
        checkRunning = true;
        lastActivity = Clock::now();
        return Task{};
      }
      WaitIdle(lock, due);
    }
  }

  // A worker waits for work; counted as free meanwhile, so that reserves leave
  // the queue to it.
  void WaitIdle(std::unique_lock<std::mutex>& lock, std::optional<Clock::time_point> until) {
    ++idleWorkers;
    if (until)
      wake.wait_until(lock, *until);
    else
      wake.wait(lock);
    --idleWorkers;
  }

  // --- a reserve thread ---

  void Reserve(std::size_t index, std::size_t rank) {
    Worker worker{index, *slots[index], nullptr, false};
    while (std::optional<Task> task = NextReserveTask(worker, rank)) {
      if (task->job) {
        RunRequest(worker, *task->job);
        worker.lastUsed = Clock::now();
      } else {
        DropProduction(worker);
      }
    }
    DropProduction(worker);
  }

  // The next request for reserve number `rank` (from 0): only while no worker
  // is free and more than `rank` calls are held. A task without a job: the
  // reserve has been idle long enough to let its connection go. Empty when
  // stopping.
  std::optional<Task> NextReserveTask(const Worker& worker, std::size_t rank) {
    std::unique_lock lock(mutex);
    for (;;) {
      if (stopping) return std::nullopt;
      if (!queue.empty() && idleWorkers == 0 && HeldCalls() > rank) {
        Task task{std::move(queue.front())};
        queue.pop_front();
        return task;
      }
      if (worker.production) {
        const Clock::time_point release = worker.lastUsed + settings.reserveIdle;
        if (Clock::now() >= release) return Task{};
        reserveWake.wait_until(lock, release);
      } else {
        reserveWake.wait(lock);
      }
    }
  }

  // Calls running past their held time, as the watcher last found them.
  std::size_t HeldCalls() const {
    return static_cast<std::size_t>(std::count_if(
        slots.begin(), slots.end(), [](const auto& slot) { return slot->busy && slot->held; }));
  }

  void DropProduction(Worker& worker) {
    {
      std::scoped_lock lock(worker.slot.cancelling, mutex);
      worker.slot.production = nullptr;
    }
    worker.production.reset();  // detaches here, on the thread that attached
    worker.started = false;
  }

  void RunRequest(Worker& worker, Job& job) {
    // A request queued before the database went out of reach is answered
    // like one arriving now, rather than waiting on the database.
    if (std::exception_ptr refusal = RefusalWhileDown()) {
      job.Fail(std::move(refusal));
      Post(job.Answer());
      return;
    }
    RunOnWorker(worker, job);
    Post(job.Answer());
    Touch();
  }

  // Runs the job and reports what its outcome says of the database. The
  // failure's copies held here end before the answer is posted, so the
  // answer's copy is the last one and the loop thread alone frees it.
  void RunOnWorker(Worker& worker, Job& job) {
    BeginCall(worker);
    std::exception_ptr startFailure = EnsureStarted(worker);
    std::exception_ptr failure = startFailure ? nullptr : job.Run(*worker.production);
    const bool unanswered = EndCall(worker);

    if (startFailure) {
      const std::string what = Describe(startFailure);
      ReportState(Reach::Down, what);
      job.Fail(OutOfReach(what));
    } else if (LostConnection(failure) || (failure && unanswered)) {
      // A database that answered not even the cancel is out of reach for the
      // requests after this one too, until a check finds it back.
      ReportState(Reach::Down, Describe(failure));
    } else {
      // Whatever else failed, the database answered.
      ReportState(Reach::Up, {});
    }
  }

  // Attaches when the worker has not yet; otherwise one light round trip.
  void RunCheck(Worker& worker, bool scheduled) {
    BeginCall(worker);
    const bool wasStarted = worker.started;
    std::exception_ptr failure = EnsureStarted(worker);
    if (!failure && wasStarted) {
      try {
        worker.production->CheckDatabase();
      } catch (...) {
        failure = std::current_exception();
      }
    }
    EndCall(worker);

    if (failure)
      ReportState(Reach::Down, Describe(failure));
    else
      ReportState(Reach::Up, {});
    {
      std::lock_guard lock(mutex);
      if (scheduled) checkRunning = false;
      lastActivity = Clock::now();
    }
    wake.notify_all();
  }

  // Makes and starts the worker's production when it has not succeeded yet.
  // The failure, or null once started.
  std::exception_ptr EnsureStarted(Worker& worker) {
    if (worker.started) return nullptr;
    try {
      if (!worker.production) {
        std::unique_ptr<WorkerProduction> made = make(worker.index);
        if (!made) throw std::logic_error("no production was made for a database worker");
        std::scoped_lock lock(worker.slot.cancelling, mutex);
        worker.slot.production = made.get();
        worker.production = std::move(made);
      }
      worker.production->Start();
      worker.started = true;
      return nullptr;
    } catch (...) {
      return std::current_exception();
    }
  }

  std::exception_ptr RefusalWhileDown() {
    std::lock_guard lock(mutex);
    return reach == Reach::Down ? OutOfReach(detail) : nullptr;
  }

  void Touch() {
    std::lock_guard lock(mutex);
    lastActivity = Clock::now();
  }

  // Reports a change of state to the loop; repeats are not reported.
  void ReportState(Reach now, const std::string& what) {
    DatabaseState state;
    std::uint64_t change = 0;
    {
      std::lock_guard lock(mutex);
      if (reach == now) return;
      reach = now;
      detail = what;
      change = ++changes;
      state.up = now == Reach::Up;
      state.detail = what;
    }
    // Changes from different workers may reach the loop out of order: the
    // loop keeps the newest and ignores older ones arriving after it.
    Post([loop = loop, change, state] {
      {
        std::lock_guard lock(loop->mutex);
        if (change <= loop->reportedChange) return;
        loop->reportedChange = change;
        loop->reported = state;
      }
      if (loop->stateChanged) loop->stateChanged(state);
    });
  }

  // --- deadlines ---

  void BeginCall(Worker& worker) {
    {
      std::lock_guard lock(mutex);
      Slot& slot = worker.slot;
      slot.busy = true;
      ++slot.call;
      slot.cancels = 0;
      const Clock::time_point now = Clock::now();
      slot.nextCancel = now + settings.deadline;
      slot.held = false;
      slot.heldFrom = settings.reserves > 0 ? now + settings.heldAfter : Clock::time_point::max();
      // The watcher is woken only when this call's next event comes before the
      // one it sleeps towards: under steady work it wakes about once per
      // deadline (or held time), not once per call.
      const Clock::time_point first = std::min(slot.nextCancel, slot.heldFrom);
      if (first >= watcherDue) return;
      watcherDue = first;
    }
    watcherWake.notify_all();
  }

  // True when the call needed its link given up: the database did not answer
  // even the cancel.
  bool EndCall(Worker& worker) {
    // Waits for a Cancel in progress: it must not outlast the call it was for.
    std::scoped_lock lock(worker.slot.cancelling, mutex);
    worker.slot.busy = false;
    return worker.slot.cancels >= 2;
  }

  struct DueCancel {
    Slot* slot;
    std::uint64_t call;
    bool hard;
  };

  // The watcher thread: cancels a call past its deadline, and gives up the
  // link when the cancel itself is not answered in time.
  void Watch() {
    std::unique_lock lock(mutex);
    while (!watcherStopping) {
      const Clock::time_point now = Clock::now();
      std::vector<DueCancel> due;
      std::optional<Clock::time_point> next;
      bool newlyHeld = false;
      for (auto& slot : slots) {
        if (!slot->busy) continue;
        if (!slot->held && slot->heldFrom != Clock::time_point::max()) {
          if (slot->heldFrom <= now) {
            slot->held = true;
            newlyHeld = true;
          } else if (!next || slot->heldFrom < *next) {
            next = slot->heldFrom;
          }
        }
        if (slot->cancels >= 2) continue;
        if (slot->nextCancel <= now) {
          due.push_back({slot.get(), slot->call, slot->cancels == 1});
          ++slot->cancels;
          slot->nextCancel = now + settings.hardCancelAfter;
        } else if (!next || slot->nextCancel < *next) {
          next = slot->nextCancel;
        }
      }
      if (newlyHeld && !queue.empty()) reserveWake.notify_all();
      if (!due.empty()) {
        lock.unlock();
        for (const DueCancel& cancel : due) Cancel(cancel);
        lock.lock();
        continue;
      }
      watcherDue = next.value_or(Clock::time_point::max());
      if (next)
        watcherWake.wait_until(lock, *next);
      else
        watcherWake.wait(lock);
    }
  }

  void Cancel(const DueCancel& cancel) {
    std::lock_guard cancelling(cancel.slot->cancelling);
    WorkerProduction* production = nullptr;
    {
      std::lock_guard lock(mutex);
      if (!cancel.slot->busy || cancel.slot->call != cancel.call) return;  // it ended meanwhile
      production = cancel.slot->production;
    }
    if (!production) return;  // still being made: nothing to cancel yet
    try {
      production->Cancel(cancel.hard);
    } catch (...) {
      // A cancel that failed leaves the call running: the next stage (giving
      // up the link) follows on time, and after that the call can only end by
      // itself. Nothing else here can act on it.
    }
  }

  ProductionWorkersSettings settings;
  MakeProduction make;
  PostToLoop postToLoop;
  std::shared_ptr<LoopSide> loop;

  std::mutex mutex;
  std::condition_variable wake;         // idle workers
  std::condition_variable watcherWake;  // the watcher
  std::condition_variable reserveWake;  // idle reserves
  std::deque<std::unique_ptr<Job>> queue;
  std::vector<std::unique_ptr<Slot>> slots;
  bool stopping = false;
  bool watcherStopping = false;
  // When the watcher will next look, unless woken (max: only when woken).
  Clock::time_point watcherDue = Clock::time_point::max();
  bool checkRunning = false;
  std::size_t idleWorkers = 0;  // workers (not reserves) waiting for work
  Clock::time_point lastActivity;
  Reach reach = Reach::Unknown;
  std::string detail;
  std::uint64_t changes = 0;

  std::vector<std::thread> workers;
  std::thread watcher;
};

ProductionWorkers::ProductionWorkers(ProductionWorkersSettings settings, MakeProduction make,
                                     PostToLoop postToLoop, StateChanged stateChanged)
    : impl_(std::make_shared<Impl>(settings, std::move(make), std::move(postToLoop),
                                   std::move(stateChanged))) {
  try {
    impl_->Launch();
  } catch (...) {
    impl_->Stop();  // joins the threads that did start
    throw;
  }
}

ProductionWorkers::~ProductionWorkers() {
  Stop();
}

void ProductionWorkers::LookUpBadge(const std::string& badge, BadgeAnswer answer) {
  impl_->Submit(std::make_unique<RequestJob<BadgeOutcome>>(
      [badge](WorkerProduction& production) { return production.LookUpBadge(badge); },
      std::move(answer)));
}

void ProductionWorkers::PostCard(const CardRequest& request, CardAnswer answer) {
  impl_->Submit(std::make_unique<RequestJob<CardOutcome>>(
      [request](WorkerProduction& production) { return production.PostCard(request); },
      std::move(answer)));
}

void ProductionWorkers::Stop() {
  impl_->Stop();
}

DatabaseState ProductionWorkers::State() const {
  std::lock_guard lock(impl_->loop->mutex);
  return impl_->loop->reported;
}

}  // namespace mts
