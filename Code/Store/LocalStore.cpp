#include "Store/LocalStore.h"

#include "AssertReport.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "System/AtomicFile.h"

namespace store {
namespace {

const char* const kHeader = "STARMOOR-STORE 2";
// Files written before the end line: read as they are, written anew as 2.
const char* const kHeaderWithoutEnd = "STARMOOR-STORE 1";
const char* const kEnd = "end";
// Longest name or record the file may hold; anything longer is a broken file.
constexpr size_t kMaxToken = 64;
constexpr size_t kMaxLine = 256;
// Downloads kept for getDownloadedLeaderboardEntry; older ones are dropped.
constexpr size_t kKeptDownloads = 8;

bool parseInt64(const std::string& text, int64_t lo, int64_t hi, int64_t* out) {
  if (text.empty() || text.size() > 20) return false;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = v;
  return true;
}

bool validName(const std::string& name) {
  if (name.empty() || name.size() > kMaxToken) return false;
  for (unsigned char c : name)
    if (c <= ' ' || c >= 127) return false;
  return true;
}

// A persona name: printable, may hold blanks.
bool validPersona(const std::string& name) {
  if (name.empty() || name.size() > kMaxToken) return false;
  for (unsigned char c : name)
    if (c < ' ' || c == 127) return false;
  return true;
}

std::string defaultPersona() {
  const char* user = std::getenv("USER");
  std::string name = user ? user : "";
  return validPersona(name) ? name : "Commander";
}

}  // namespace

LocalStore::LocalStore(const std::string& path, const std::vector<std::string>& boards) : path_(path) {
  boards_.reserve(boards.size());
  for (const std::string& name : boards) boards_.push_back(Board{name, {}});
  names_[user_] = defaultPersona();
}

void LocalStore::clearData() {
  user_ = kDefaultUser;
  names_.clear();
  names_[user_] = defaultPersona();
  stats_.clear();
  achievements_.clear();
  for (Board& b : boards_) b.scores.clear();
}

bool LocalStore::load() {
  backupPath_.clear();
  if (path_.empty()) return true;
  leftAlone_ = false;
  std::vector<unsigned char> bytes;
  const FileRead read = readOwnFile(path_, bytes);
  if (read == FileRead::Missing) return true;  // no file yet: a fresh store
  if (read == FileRead::Read && parse(std::string(bytes.begin(), bytes.end()))) return true;
  std::printf("The store file %s is broken; the store starts empty\n", path_.c_str());
  backupPath_ = keepBackupCopy(path_);
  // Without a copy, the empty store must not be written over it.
  leftAlone_ = backupPath_.empty();
  return false;
}

bool LocalStore::parse(const std::string& text) {
  clearData();
  std::istringstream in(text);
  std::string line;
  bool first = true;
  bool ok = true;
  // A file of ours ends with the end line: without it the file was cut short.
  bool needsEnd = true;
  bool ended = false;
  while (ok && std::getline(in, line)) {
    if (line.size() > kMaxLine) { ok = false; break; }
    if (first) {
      needsEnd = line == kHeader;
      ok = needsEnd || line == kHeaderWithoutEnd;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    if (ended) { ok = false; break; }
    if (needsEnd && line == kEnd) {
      ended = true;
      continue;
    }
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "player" || kind == "user") {
      std::string idText, name;
      int64_t id = 0;
      words >> idText;
      std::getline(words, name);
      if (!name.empty() && name[0] == ' ') name.erase(0, 1);
      ok = parseInt64(idText, 1, INT64_MAX, &id) && validPersona(name);
      if (!ok) break;
      names_[static_cast<uint64_t>(id)] = name;
      if (kind == "player") user_ = static_cast<uint64_t>(id);
      continue;
    }
    std::string a, b, c, rest;
    words >> a >> b >> c;
    const bool extra = static_cast<bool>(words >> rest);
    if (extra) { ok = false; break; }
    int64_t v = 0, id = 0;
    if (kind == "stat") {
      ok = validName(a) && c.empty() && parseInt64(b, INT32_MIN, INT32_MAX, &v);
      if (ok) stats_[a] = static_cast<int32_t>(v);
    } else if (kind == "achievement") {
      ok = validName(a) && b.empty();
      if (ok) achievements_.insert(a);
    } else if (kind == "score") {
      auto board = std::find_if(boards_.begin(), boards_.end(), [&](const Board& x) { return x.name == a; });
      ok = board != boards_.end() && parseInt64(b, 1, INT64_MAX, &id) && parseInt64(c, INT32_MIN, INT32_MAX, &v);
      if (ok) board->scores[static_cast<uint64_t>(id)] = static_cast<int32_t>(v);
    } else {
      ok = false;
    }
  }
  if (first || (needsEnd && !ended)) ok = false;  // not even a header, or cut short
  if (!ok) clearData();
  return ok;
}

std::string LocalStore::serialise() const {
  std::ostringstream out;
  out << kHeader << "\n";
  auto self = names_.find(user_);
  out << "player " << user_ << " " << (self != names_.end() ? self->second : defaultPersona()) << "\n";
  for (const auto& n : names_)
    if (n.first != user_) out << "user " << n.first << " " << n.second << "\n";
  for (const auto& s : stats_) out << "stat " << s.first << " " << s.second << "\n";
  for (const auto& a : achievements_) out << "achievement " << a << "\n";
  for (const Board& b : boards_)
    for (const auto& s : b.scores) out << "score " << b.name << " " << s.first << " " << s.second << "\n";
  out << kEnd << "\n";
  return out.str();
}

bool LocalStore::save() {
  if (path_.empty()) return true;
  // Another copy of the game owns the folder; it was said when the game started.
  if (savingStopped_) return false;
  if (leftAlone_) {
    if (!failureSaid_) {
      std::printf("Not saving the store: %s could not be read and no copy of it could be kept\n", path_.c_str());
      failureSaid_ = true;
    }
    return false;
  }
  const std::string text = serialise();
  std::string why;
  const bool written = writeFileAtomically(path_, text.data(), text.size(), &why);
  if (written) {
    failureSaid_ = false;
    return true;
  }
  // Statistics are stored after every level and at quit: one report per failure.
  if (!failureSaid_) {
    BGE_ERROR_MSG(written, ("could not write the store file " + path_ + " (" + why +
                            "); the statistics, achievements and scores since the last save are kept only until "
                            "the game quits")
                               .c_str());
    failureSaid_ = true;
  }
  return false;
}

std::string LocalStore::personaName(uint64_t user) const {
  auto it = names_.find(user);
  return it == names_.end() ? std::string("[unknown]") : it->second;
}

bool LocalStore::requestCurrentStats() {
  if (!loggedOn_) return false;
  postStatsReceived(kResultOk, delayFrames_);
  return true;
}

bool LocalStore::getAchievement(const std::string& name, bool* achieved) const {
  if (!achieved || !validName(name)) return false;
  *achieved = achievements_.count(name) != 0;
  return true;
}

std::string LocalStore::getAchievementDisplayAttribute(const std::string& name, const std::string& key) const {
  // This store has no texts of its own: the name is the api name.
  return key == "name" ? name : std::string();
}

bool LocalStore::getStat(const std::string& name, int32_t* value) const {
  if (!value || !validName(name)) return false;
  auto it = stats_.find(name);
  *value = it == stats_.end() ? 0 : it->second;
  return true;
}

bool LocalStore::setStat(const std::string& name, int32_t value) {
  if (!validName(name)) return false;
  stats_[name] = value;
  return true;
}

bool LocalStore::setAchievement(const std::string& name) {
  if (!validName(name)) return false;
  const bool isNew = achievements_.insert(name).second;
  if (isNew) postAchievementStored(delayFrames_);
  return true;
}

bool LocalStore::storeStats() {
  postStatsStored(save() ? kResultOk : kResultFail, delayFrames_);
  return true;
}

LocalStore::Board* LocalStore::boardFor(LeaderboardHandle handle) {
  if (handle == 0 || handle > boards_.size()) return nullptr;
  return &boards_[handle - 1];
}

CallHandle LocalStore::findLeaderboard(const std::string& name) {
  CallResult r;
  r.kind = CallResult::FindLeaderboard;
  r.leaderboardName = name;
  for (size_t i = 0; i < boards_.size(); ++i) {
    if (boards_[i].name != name) continue;
    r.success = true;
    r.leaderboard = i + 1;
  }
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

std::vector<LeaderboardEntry> LocalStore::ranked(const Board& board) const {
  std::vector<LeaderboardEntry> rows;
  rows.reserve(board.scores.size());
  for (const auto& s : board.scores) {
    LeaderboardEntry e;
    e.user = s.first;
    e.score = s.second;
    rows.push_back(e);
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const LeaderboardEntry& a, const LeaderboardEntry& b) { return a.score > b.score; });
  for (size_t i = 0; i < rows.size(); ++i) rows[i].globalRank = static_cast<int32_t>(i + 1);
  return rows;
}

CallHandle LocalStore::uploadLeaderboardScore(LeaderboardHandle handle, int method, int32_t score) {
  Board* board = boardFor(handle);
  if (!board) return 0;
  CallResult r;
  r.kind = CallResult::ScoreUploaded;
  r.leaderboard = handle;
  r.leaderboardName = board->name;
  r.score = score;
  auto rankOf = [&]() {
    for (const LeaderboardEntry& e : ranked(*board))
      if (e.user == user_) return e.globalRank;
    return 0;
  };
  r.previousRank = rankOf();
  auto it = board->scores.find(user_);
  const bool hadScore = it != board->scores.end();
  const int32_t old = hadScore ? it->second : 0;
  r.scoreChanged = !hadScore || method == kForceUpdate || score > old;
  if (r.scoreChanged) board->scores[user_] = score;
  r.success = save();
  if (!r.success && r.scoreChanged) {
    // Not kept on disk: not kept at all, as a service that failed to store it.
    if (hadScore) board->scores[user_] = old; else board->scores.erase(user_);
    r.scoreChanged = false;
  }
  r.newRank = rankOf();
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

CallHandle LocalStore::downloadLeaderboardEntries(LeaderboardHandle handle, int request, int rangeStart,
                                                  int rangeEnd) {
  Board* board = boardFor(handle);
  if (!board) return 0;
  const std::vector<LeaderboardEntry> rows = ranked(*board);
  std::vector<LeaderboardEntry> picked;
  long first = 0, last = -1;
  if (request == kGlobalAroundUser) {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].user == user_) { first = static_cast<long>(i) + rangeStart; last = static_cast<long>(i) + rangeEnd; }
  } else {
    first = static_cast<long>(rangeStart) - 1;  // ranks count from 1
    last = static_cast<long>(rangeEnd) - 1;
  }
  first = std::max(first, 0L);
  last = std::min(last, static_cast<long>(rows.size()) - 1);
  for (long i = first; i <= last; ++i) picked.push_back(rows[static_cast<size_t>(i)]);

  const uint64_t entries = ++lastDownload_;
  downloads_[entries] = picked;
  while (downloads_.size() > kKeptDownloads) downloads_.erase(downloads_.begin());
  CallResult r;
  r.kind = CallResult::ScoresDownloaded;
  r.success = true;
  r.leaderboard = handle;
  r.leaderboardName = board->name;
  r.entries = entries;
  r.entryCount = static_cast<int32_t>(picked.size());
  const CallHandle call = nextCallHandle();
  postCallResult(call, r, delayFrames_);
  return call;
}

bool LocalStore::getDownloadedLeaderboardEntry(uint64_t entries, int index, LeaderboardEntry* out) {
  auto it = downloads_.find(entries);
  if (!out || it == downloads_.end() || index < 0 || static_cast<size_t>(index) >= it->second.size()) return false;
  *out = it->second[static_cast<size_t>(index)];
  return true;
}

bool LocalStore::bestScore(const std::string& name, int32_t* score) const {
  for (const Board& b : boards_) {
    if (b.name != name) continue;
    auto it = b.scores.find(user_);
    if (it == b.scores.end()) return false;
    if (score) *score = it->second;
    return true;
  }
  return false;
}

}  // namespace store
