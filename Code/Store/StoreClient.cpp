#include "Store/StoreClient.h"

#include <algorithm>

namespace store {

void StoreClient::registerStatsCallbacks(StatsCallbacks* callbacks) {
  if (callbacks && std::find(statsCallbacks_.begin(), statsCallbacks_.end(), callbacks) == statsCallbacks_.end())
    statsCallbacks_.push_back(callbacks);
}

void StoreClient::unregisterStatsCallbacks(StatsCallbacks* callbacks) {
  statsCallbacks_.erase(std::remove(statsCallbacks_.begin(), statsCallbacks_.end(), callbacks),
                        statsCallbacks_.end());
}

void StoreClient::bindCallResult(CallHandle call, CallResultSink* sink) {
  if (!sink) return;
  bindings_.erase(sink);
  if (call != 0) bindings_[sink] = call;
}

void StoreClient::unbindCallResult(CallResultSink* sink) { bindings_.erase(sink); }

void StoreClient::post(const Answer& answer, int delayFrames) {
  Answer a = answer;
  a.due = pumps_ + static_cast<uint64_t>(std::max(delayFrames, 1)) + 1;
  queue_.push_back(a);
}

void StoreClient::postCallResult(CallHandle call, const CallResult& result, int delayFrames) {
  post(Answer{Answer::Call, 0, call, 0, result}, delayFrames);
}

void StoreClient::postStatsReceived(int result, int delayFrames) {
  post(Answer{Answer::StatsReceived, 0, 0, result, CallResult()}, delayFrames);
}

void StoreClient::postStatsStored(int result, int delayFrames) {
  post(Answer{Answer::StatsStored, 0, 0, result, CallResult()}, delayFrames);
}

void StoreClient::postAchievementStored(int delayFrames) {
  post(Answer{Answer::AchievementStored, 0, 0, kResultOk, CallResult()}, delayFrames);
}

void StoreClient::runCallbacks() {
  ++pumps_;
  // Handlers may make new calls: those are queued behind and wait for a later pump.
  std::deque<Answer> due;
  for (auto it = queue_.begin(); it != queue_.end();) {
    if (it->due <= pumps_) {
      due.push_back(*it);
      it = queue_.erase(it);
    } else {
      ++it;
    }
  }
  for (const Answer& a : due) {
    if (a.kind == Answer::Call) {
      CallResultSink* sink = nullptr;
      for (const auto& b : bindings_)
        if (b.second == a.call) sink = b.first;
      if (!sink) continue;  // nobody waits for this call any more
      bindings_.erase(sink);
      sink->onCallResult(a.callResult);
      continue;
    }
    const std::vector<StatsCallbacks*> listeners = statsCallbacks_;
    for (StatsCallbacks* c : listeners) {
      if (std::find(statsCallbacks_.begin(), statsCallbacks_.end(), c) == statsCallbacks_.end()) continue;
      if (a.kind == Answer::StatsReceived) c->onUserStatsReceived(appId(), a.result);
      else if (a.kind == Answer::StatsStored) c->onUserStatsStored(appId(), a.result);
      else c->onAchievementStored(appId());
    }
  }
}

}  // namespace store
