#include "Menus/LeaderboardQueryWidget.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Color.h"
#include "Font.h"
#include "Graphics.h"
#include "Profile/Profile.h"
#include "ScreenBase.h"
#include "Store/CSteamLeaderboards.h"
#include "System/GameFonts.h"
#include "Utilities.h"
#include "tinyaction/TinyActionDelay.h"
#include "tinyaction/TinyActionSequence.h"
#include "tinyaction/TinyLoopAction.h"
#include "tinyaction/TinyRelIncrementator.h"
#include "tinyaction/TinySetter.h"
#include "widgets/LayoutReading.h"

namespace {

// A new pulse value is kept only when it moved this far from the last one, so
// the rings spread out instead of piling up.
constexpr float kPulseStep = 0.1f;
constexpr int kRowHeight = 20;
constexpr int kRowWidth = 220;
constexpr int kRankLineHeight = 32;

const Color kLoadingText(0, 255, 0, 255);
const Color kRing(255, 180, 0, 64);
const Color kFailureText(255, 0, 0, 255);
const Color kNoScoresText(200, 240, 255, 255);
const Color kName(0, 255, 255, 255);
const Color kLocalName(255, 0, 255, 255);
const Color kScore(255, 170, 0, 255);
const Color kRank(255, 255, 0, 255);
const Color kNewRank(0, 255, 0, 255);
const Color kOldRank(128, 128, 128, 255);
const Color kImproved(255, 0, 255, 255);

}  // namespace

LeaderboardQueryWidget::LeaderboardQueryWidget() : LeaderboardQueryWidget(g_leaderboards, nullptr) {}

LeaderboardQueryWidget::LeaderboardQueryWidget(CSteamLeaderboards* leaderboards, Profile* profile)
    : leaderboards_(leaderboards), profile_(profile) {
  for (int i = 0; i < CSteamLeaderboards::kMissionCount; ++i)
    names_.push_back(CSteamLeaderboards::leaderboardName(i, 0));

  TinyActionSequence* timer = new TinyActionSequence(false);
  timer->addAction(new TinyActionDelay(TinyTimer(kWaitMs)));
  timerAction_.reset(timer);

  // -1 -> 1 -> -1 over a second, for as long as the rows load.
  TinyActionSequence* swing = new TinyActionSequence(false);
  swing->addAction(new TinySetter<float>(&pulse_, -1.0f));
  swing->addAction(new TinyRelIncrementator<float>(TinyTimer(kPulseMs), &pulse_, 2.0f, linearOperatorFunction, 1.0f));
  swing->addAction(new TinyRelIncrementator<float>(TinyTimer(kPulseMs), &pulse_, -2.0f, linearOperatorFunction, 1.0f));
  loopAction_.reset(new TinyLoopAction(swing, -1));
}

LeaderboardQueryWidget::~LeaderboardQueryWidget() = default;

void LeaderboardQueryWidget::query(int index, int mode) {
  if (index < 0 || index >= static_cast<int>(names_.size())) return;
  index_ = index;
  mode_ = mode;
  state_ = kStateLoading;
  boardName_ = names_[static_cast<size_t>(index)];
  if (mode >= 1 && mode <= 5) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%d", mode);
    boardName_ += suffix;
  }
  timerAction_->stop();
  loopAction_->stop();
  pendingTimer_ = -1;
  pendingRetry_ = false;
  entries_.clear();
  answered_ = false;
  pulseHistory_.clear();
  if (!leaderboards_) {
    // Without a store nothing will ever arrive: say so at once rather than
    // showing the loading rings for ever.
    state_ = kStateIdle;
    return;
  }
  leaderboards_->findLeaderboard(boardName_);
  loopAction_->start(this, -1);
  startTimer(kFirstWaitDone);
}

void LeaderboardQueryWidget::startTimer(int id) { timerAction_->start(this, id); }

bool LeaderboardQueryWidget::timerRunning() const { return timerAction_->isRunning() || pendingTimer_ >= 0; }

void LeaderboardQueryWidget::actionFinished(int id) {
  if (id == kFirstWaitDone) {
    if (state_ == kStateLoading) {
      state_ = kStateIdle;
      pendingTimer_ = kRetryDue;
    } else {
      index_ = -1;
    }
  } else if (id == kRetryDue) {
    if (index_ >= 0) pendingRetry_ = true;
  }
}

void LeaderboardQueryWidget::update(int dt, ScreenBase* /*screen*/) {
  if (loopAction_->isRunning()) loopAction_->update(dt);
  if (timerAction_->isRunning()) timerAction_->update(dt);
  if (pendingTimer_ >= 0) {
    const int id = pendingTimer_;
    pendingTimer_ = -1;
    startTimer(id);
  }
  if (pendingRetry_) {
    pendingRetry_ = false;
    query(index_, mode_);
  }
  if (leaderboards_) entries_ = leaderboards_->entries();
  if (state_ != kStateLoading) return;
  // Rows, or the board's answer that it has none yet, end the loading.
  const bool emptyBoard = leaderboards_ && !boardName_.empty() && leaderboards_->downloadedName() == boardName_;
  if (!entries_.empty() || emptyBoard) {
    state_ = kStateIdle;
    answered_ = true;
    loopAction_->stop();
    return;
  }
  const size_t n = pulseHistory_.size();
  if (n < 2) {
    pulseHistory_.push_back(pulse_);
  } else if (n < static_cast<size_t>(kHistorySize)) {
    if (std::fabs(pulse_ - pulseHistory_.back()) > kPulseStep) pulseHistory_.push_back(pulse_);
  } else {
    pulseHistory_.erase(pulseHistory_.begin());
  }
}

std::string LeaderboardQueryWidget::personaName(uint64_t user) const {
  store::StoreClient* client = leaderboards_ ? leaderboards_->client() : nullptr;
  return client ? client->personaName(user) : std::string();
}

bool LeaderboardQueryWidget::isLocalUser(uint64_t user) const {
  store::StoreClient* client = leaderboards_ ? leaderboards_->client() : nullptr;
  return client && client->userId() == user;
}

int LeaderboardQueryWidget::getUserRank() const {
  int rank = -1;
  for (const store::LeaderboardEntry& e : entries_)
    if (isLocalUser(e.user)) rank = e.globalRank;
  return rank;
}

std::string LeaderboardQueryWidget::shortName(const std::string& name) {
  if (name.size() <= static_cast<size_t>(kNameChars)) return name;
  return name.substr(0, kNameChars) + "...";
}

void LeaderboardQueryWidget::draw(Graphics* g, ScreenBase* screen) {
  ResourceManager* resources = screen ? screen->getResourceManager() : nullptr;
  Font* font = findOrLoadFont(resources, "FONT_NOTOSANS16");
  const float w = getWidth();
  const float h = getHeight();
  if (state_ == kStateLoading) {
    if (font)
      font->drawTextAligned(g, Rect5(0.0f, 0.0f, w, h), layout::lookupText("LABEL_LOADING_SCORES"), kLoadingText,
                            Font::AlignCenter, Font::AlignMiddle, false);
    for (size_t i = 0; i < pulseHistory_.size(); ++i)
      g->drawCircle(w / 2, h / 2, std::fabs(pulseHistory_[i]) * w / 2, static_cast<float>(i) * 0.3f + 0.2f, kRing);
    return;
  }
  if (entries_.empty()) {
    if (font) {
      if (answered_)
        font->drawTextAligned(g, Rect5(0.0f, 0.0f, w, h), layout::lookupText("NO_SCORES_YET"), kNoScoresText,
                              Font::AlignCenter, Font::AlignMiddle, true);
      else
        font->drawTextAligned(g, Rect5(0.0f, 0.0f, w, h), layout::lookupText("CANT_LOAD_SCORES"), kFailureText,
                              Font::AlignCenter, Font::AlignMiddle, true);
    }
    return;
  }
  drawRows(g, resources);
}

void LeaderboardQueryWidget::drawRows(Graphics* g, ResourceManager* resources) {
  Font* font = findOrLoadFont(resources, "FONT_NOTOSANS16");
  Font* big = findOrLoadFont(resources, "FONT_NOTOSANS24");
  Font* mid = findOrLoadFont(resources, "FONT_NOTOSANS20");
  const float w = getWidth();
  const float h = getHeight();
  const size_t shown = std::min(entries_.size(), static_cast<size_t>(kShownRows));
  int rank = -1;
  for (size_t i = 0; i < shown; ++i) {
    const store::LeaderboardEntry& e = entries_[i];
    const bool local = isLocalUser(e.user);
    if (local) rank = e.globalRank;
    const Rect5 row(0.0f, static_cast<float>(kRowHeight * static_cast<int>(i)), static_cast<float>(kRowWidth), 24.0f);
    if (!font) continue;
    font->drawTextAligned(g, row, shortName(personaName(e.user)), local ? kLocalName : kName, Font::AlignLeft,
                          Font::AlignTop, false);
    font->drawTextAligned(g, row, formatThousands(e.score), kScore, Font::AlignRight, Font::AlignTop, false);
  }
  if (rank < 0 || !big) return;
  char number[24];
  std::snprintf(number, sizeof number, " %d", rank);
  const Rect5 line(0.0f, h - kRankLineHeight, w, static_cast<float>(kRankLineHeight));
  if (newRank_) {
    big->drawTextAligned(g, line, layout::lookupText("LABEL_YOUR_NEW_RANK"), kNewRank, Font::AlignLeft,
                         Font::AlignMiddle, false);
    const int old = profile_ ? profile_->previousRank() : -1;
    if (old != -1 && mid) {
      char oldNumber[24];
      std::snprintf(oldNumber, sizeof oldNumber, " %d", old);
      const Rect5 oldLine(0.0f, h, w, static_cast<float>(kRankLineHeight));
      mid->drawTextAligned(g, oldLine, layout::lookupText("LABEL_YOUR_OLD_RANK"), kOldRank, Font::AlignLeft,
                           Font::AlignTop, false);
      mid->drawTextAligned(g, oldLine, oldNumber, kOldRank, Font::AlignRight, Font::AlignTop, false);
      mid->drawTextAligned(g, Rect5(0.0f, h + 18.0f, w, static_cast<float>(kRankLineHeight)), layout::lookupText("LABEL_IMPROVED_RANK"),
                           kImproved, Font::AlignLeft, Font::AlignTop, false);
    }
  } else {
    big->drawTextAligned(g, line, layout::lookupText("LABEL_YOUR_RANK"), kRank, Font::AlignLeft, Font::AlignMiddle,
                         false);
  }
  big->drawTextAligned(g, line, number, kRank, Font::AlignRight, Font::AlignMiddle, false);
}
