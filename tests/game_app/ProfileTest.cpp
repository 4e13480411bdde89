// The profile through the save game and its side files, damaged side files,
// progress reset, badges, and the campaign files read from small fixtures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BackupFile.h"
#include "FileSaveGame.h"
#include "GameApp.h"
#include "Menus/MenuPalette.h"
#include "RecordingFont.h"
#include "RecordingGraphics.h"
#include "System/NoticeBoard.h"
#include "GenericEntry.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "TestEnv.h"

namespace {

class SaveApp : public GameApp {
 public:
  std::string getSaveIdentifier() const override { return "VTQA_PL762"; }
  void tellPlayer(const std::string& text) override { told.push_back(text); }
  std::vector<std::string> told;
};

std::vector<uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << text;
}

// A save game holding only a profile, in a folder of its own.
struct ProfileSave {
  explicit ProfileSave(const std::string& folder) : save(folder + "/Starmoor.sav", GameApp::instance()) {
    profile = new Profile("Commander");
    save.addEntry("PLAYER_PROFILE", profile);
  }
  FileSaveGame save;
  Profile* profile;
};

// A campaign of `stations` stations with three missions each; mission n
// unlocks n + 1 and gives a reward twice under one name.
std::string writeCampaign(const std::string& root, int stations, bool withData = true) {
  std::string list = "<Kelvaro>\n";
  for (int s = 0; s < stations; ++s) {
    const std::string stationFile = root + "/station_" + std::to_string(s) + ".xml";
    list += "<SpaceStation id=\"" + std::to_string(s) + "\" config=\"" + stationFile + "\"/>\n";
    std::string station = "<Station icon=\"icon.png\">\n";
    if (withData) station += "<Data code=\"07\" commander=\"Vega\" trade_commission=\"0.2\"/>\n";
    for (int slot = 0; slot < 3; ++slot) {
      const int id = s * 3 + slot;
      const std::string level = root + "/mission_" + std::to_string(id) + ".xml";
      station += "<Mission id=\"" + std::to_string(id) + "\" label=\"M" + std::to_string(id) + "\" config=\"" + level +
                 "\" job=\"hold\" cargo=\"ore\"/>\n";
      writeText(level, "<Stage music=\"" + std::to_string(id % 4) + "\" enabled=\"true\">"
                       "<Reward><credits amount=\"100\"/><credits amount=\"5\"/><medal/></Reward>"
                       "<UnlockMissions missions=\"" + std::to_string(id + 1) + ",-1\"/></Stage>");
    }
    writeText(stationFile, station + "</Station>\n");
  }
  writeText(root + "/stations.xml", list + "</Kelvaro>\n");
  return root + "/stations.xml";
}

TEST(ProfileSaveRecord, RoundTripThroughTheSaveAndItsSideFiles) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(folder);
  {
    ProfileSave first(folder);
    ASSERT_TRUE(first.save.save());
    // A first start: no flag set, the record is 67 bytes behind the header.
    EXPECT_EQ(readAll(folder + "/Starmoor.sav").size(), 14u + Profile::kRecordSize);
    const std::vector<uint8_t> flags = readAll(folder + "/customflags.dat");
    ASSERT_EQ(flags.size(), 40u);
    for (int i = 0; i < 10; ++i) {
      const int32_t v = flags[i * 4] | flags[i * 4 + 1] << 8 | flags[i * 4 + 2] << 16 | flags[i * 4 + 3] << 24;
      EXPECT_EQ(v, i == 5 ? 1 : -1) << i;
    }
  }
  const std::string list = writeCampaign(dirs.root() + "/campaign", 15);
  {
    // A new game opens the first mission and wins nothing: read back, that is a
    // new player's profile, not wins its side files lost.
    ProfileSave fresh(folder);
    ASSERT_TRUE(fresh.profile->loadStations(list));
    fresh.profile->resetProgress();
    ASSERT_TRUE(fresh.save.save());
    ProfileSave again(folder);
    testing::internal::CaptureStdout();
    ASSERT_TRUE(again.save.load());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_FALSE(std::filesystem::exists(folder + "/missions.dat.bak"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/badges.dat.bak"));
  }
  {
    ProfileSave out(folder);
    Profile* p = out.profile;
    ASSERT_TRUE(p->loadStations(list));
    p->resetProgress();
    p->setHasProgress(true);
    p->setFullscreen(false);
    p->setScreenSize(1920, 1080);
    p->setMissionWon(0);
    p->applyMissionUnlocks(0);
    p->setMissionWon(44);
    ASSERT_TRUE(p->setBadge(0, 2, 1));
    ASSERT_TRUE(p->setBadge(44, 4, 2));
    p->setLastLaunch(7, 2, 3, 1);
    p->setCustomFlag(0, 123);
    ASSERT_TRUE(out.save.save());
  }
  ProfileSave in(folder);
  ASSERT_TRUE(in.save.load());
  Profile* p = in.profile;
  EXPECT_TRUE(p->hasProgress());
  EXPECT_FALSE(p->isFullscreen());
  EXPECT_EQ(p->screenSize().width, 1920);
  EXPECT_EQ(p->screenSize().height, 1080);
  EXPECT_TRUE(p->isMissionWon(0));
  EXPECT_TRUE(p->isMissionWon(44));
  EXPECT_FALSE(p->isMissionWon(1));
  EXPECT_TRUE(p->isMissionUnlocked(0));
  EXPECT_TRUE(p->isMissionUnlocked(1));
  EXPECT_FALSE(p->isMissionUnlocked(2));
  EXPECT_TRUE(p->isStationUnlocked(0));
  EXPECT_FALSE(p->isStationUnlocked(1));
  EXPECT_TRUE(p->hasBadge(0, 2, 1));
  EXPECT_TRUE(p->hasBadge(44, 4, 2));
  EXPECT_FALSE(p->hasBadge(44, 4, 1));
  EXPECT_EQ(p->lastMissionId(), 7);
  EXPECT_EQ(p->lastStation(), 2);
  EXPECT_EQ(p->lastMode(), 3);
  EXPECT_EQ(p->customFlag(0), 123);
  EXPECT_EQ(p->customFlag(5), 1);
}

TEST(ProfileSideFiles, DamagedFilesAreKeptAsideAndGiveDefaults) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(folder);
  {
    ProfileSave first(folder);
    first.profile->setScreenSize(1600, 900);
    first.profile->setMissionWon(3);
    ASSERT_TRUE(first.save.save());
  }
  // Short screen size, a zero size would give zero scale factors; a won flag
  // that is neither 0 nor 1; a flags file cut short; a badges file too long.
  const std::vector<uint8_t> shortSize = {0x40, 0x06, 0, 0, 0x84};
  writeAll(folder + "/screensize.dat", shortSize);
  std::vector<uint8_t> missions(45, 0);
  missions[3] = 1;
  missions[9] = 7;
  writeAll(folder + "/missions.dat", missions);
  writeAll(folder + "/customflags.dat", std::vector<uint8_t>(39, 0));
  writeAll(folder + "/badges.dat", std::vector<uint8_t>(676, 0));

  ProfileSave in(folder);
  ASSERT_TRUE(in.save.load());
  const Profile* p = in.profile;
  EXPECT_GT(p->screenSize().width, 0);
  EXPECT_GT(p->screenSize().height, 0);
  EXPECT_FALSE(p->isMissionWon(3)) << "a rejected file gives defaults, not part of its values";
  EXPECT_EQ(p->customFlag(5), 1);
  EXPECT_EQ(p->customFlag(0), -1);
  EXPECT_EQ(readAll(folder + "/screensize.dat.bak"), shortSize);
  EXPECT_EQ(readAll(folder + "/missions.dat.bak"), missions);
  EXPECT_TRUE(std::filesystem::exists(folder + "/customflags.dat.bak"));
  EXPECT_TRUE(std::filesystem::exists(folder + "/badges.dat.bak"));

  writeAll(folder + "/screensize.dat", {0, 0, 0, 0, 0, 0, 0, 0});
  ProfileSave zero(folder);
  ASSERT_TRUE(zero.save.load());
  EXPECT_GT(zero.profile->screenSize().width, 0) << "a zero size is refused";
  EXPECT_TRUE(std::filesystem::exists(folder + "/screensize.dat.bak2"));
}

TEST(ProfileSideFiles, LoadingDoesNotOverwriteThem) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(folder);
  {
    ProfileSave first(folder);
    first.profile->setMissionWon(12);
    ASSERT_TRUE(first.save.save());
  }
  const std::vector<uint8_t> missions = readAll(folder + "/missions.dat");
  // A save that ends inside the record: the load fails, but the side files
  // it read (and never wrote) still hold the player's wins.
  std::vector<uint8_t> save = readAll(folder + "/Starmoor.sav");
  save.resize(save.size() - 10);
  writeAll(folder + "/Starmoor.sav", save);
  ProfileSave in(folder);
  EXPECT_FALSE(in.save.load());
  EXPECT_EQ(readAll(folder + "/missions.dat"), missions);
  EXPECT_TRUE(in.profile->isMissionWon(12));
  EXPECT_TRUE(in.profile->sideFilesRead());
}

TEST(ProfileSideFiles, ADamagedOneNoCopyCanBeKeptOfIsNeverWrittenOver) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string folder = dirs.data() + "/Starmoor";
  std::filesystem::create_directories(folder);
  const std::string badges = folder + "/badges.dat";
  writeAll(badges, {1, 2, 3});
  for (int n = 1; n <= backupfile::kMaxBackups; ++n)
    writeAll(n == 1 ? badges + ".bak" : badges + ".bak" + std::to_string(n), {9});
  ProfileSave in(folder);
  in.profile->readSideFiles(folder);
  in.profile->setMissionWon(4);
  EXPECT_FALSE(in.profile->writeSideFiles(folder));
  EXPECT_EQ(readAll(badges), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(readAll(folder + "/missions.dat")[4], 1) << "the others are written";
  // The player is told on screen what was not saved, once however often the game saves.
  EXPECT_FALSE(in.profile->writeSideFiles(folder));
  ASSERT_EQ(app.told.size(), 1u);
  EXPECT_EQ(app.told[0].rfind("Progress is not saved: " + badges + " is left as it was", 0), 0u) << app.told[0];

  // On screen: a dark panel with a cyan edge at the top centre, its text inside it,
  // for some seconds; the same failure told again while it shows is not shown twice.
  NoticeBoard board;
  board.post(app.told[0]);
  board.post(app.told[0]);
  RecordingGraphics g;
  RecordingFont font;
  board.draw(&g, &font, 1366);
  ASSERT_EQ(g.callsOf("fillRect").size(), 1u);
  const GraphicsCall panel = g.callsOf("fillRect")[0];
  EXPECT_EQ(panel.color.r, palette::panelFill().r);
  EXPECT_EQ(panel.color.a, palette::panelFill().a);
  EXPECT_NEAR(panel.x + panel.w / 2, 683, 1);
  ASSERT_EQ(g.callsOf("drawRect").size(), 1u);
  EXPECT_EQ(g.callsOf("drawRect")[0].color.b, palette::panelEdge().b);
  std::string shown;
  for (const TextCall& line : font.calls) {
    shown += line.text + " ";
    EXPECT_GE(line.x, panel.x);
    EXPECT_LE(line.x + font.textWidth(line.text), panel.x + panel.w) << line.text;
    EXPECT_GE(line.y, panel.y);
    EXPECT_LE(line.y + font.getLineHeight(), panel.y + panel.h) << line.text;
  }
  EXPECT_NE(shown.find("badges.dat"), std::string::npos) << shown;
  board.update(NoticeBoard::kShowMs - 1);
  EXPECT_EQ(board.shownCount(), 1u);
  board.update(1);
  EXPECT_EQ(board.shownCount(), 0u) << "it goes after its time";

  // Zero-filled beside that win, with its copy already kept under the last name:
  // that copy is found, so the file may be written again.
  const std::vector<uint8_t> zeros(Profile::kBadgeCount, 0);
  writeAll(badges, zeros);
  writeAll(badges + ".bak" + std::to_string(backupfile::kMaxBackups), zeros);
  ProfileSave again(folder);
  again.profile->readSideFiles(folder);
  ASSERT_TRUE(again.profile->setBadge(4, 0, 1));
  EXPECT_TRUE(again.profile->writeSideFiles(folder));
  EXPECT_EQ(readAll(badges)[static_cast<size_t>(Profile::badgeIndex(4, 0, 1))], 1);
}

TEST(ProfileProgress, ResetAndWinsFollowTheUnlockLists) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  Profile p("Commander");
  ASSERT_TRUE(p.loadStations(writeCampaign(dirs.root(), 15)));
  // The one problem: the last mission unlocks 45, which the campaign lacks.
  EXPECT_EQ(p.campaignProblems(), 1);
  // The level file says enabled; a new profile's flags win.
  EXPECT_FALSE(p.stations()[0]->missions()[0]->isEnabled());
  p.setMissionWon(5);
  ASSERT_TRUE(p.setBadge(5, 1, 2));
  p.resetProgress();
  EXPECT_TRUE(p.isMissionUnlocked(0));
  EXPECT_TRUE(p.isStationUnlocked(0));
  EXPECT_TRUE(p.stations()[0]->missions()[0]->isEnabled());
  for (int m = 1; m < 45; ++m) EXPECT_FALSE(p.isMissionUnlocked(m)) << m;
  EXPECT_FALSE(p.isMissionWon(5));
  EXPECT_TRUE(p.hasBadge(5, 1, 2)) << "badges survive a reset";
  EXPECT_EQ(p.customFlag(5), 1) << "a new game meets mission control's tutorial on its first visit";

  // Winning mission 2 (the last of station 0) unlocks mission 3 and its station.
  p.setMissionWon(2);
  p.applyMissionUnlocks(2);
  EXPECT_TRUE(p.isMissionUnlocked(3));
  EXPECT_TRUE(p.isStationUnlocked(1));
  EXPECT_TRUE(p.stations()[1]->isUnlocked());
  EXPECT_FALSE(p.isMissionUnlocked(4));
  // Mission 44 unlocks 45, which the campaign does not have: nothing happens.
  p.applyMissionUnlocks(44);
  EXPECT_FALSE(p.isMissionUnlocked(45));

  EXPECT_FALSE(p.isMissionWon(45));
  EXPECT_FALSE(p.isMissionWon(-1));
  // Bit (mission x 5 + mode) x 3 + difficulty; mission -1 counts as 0; the
  // endless mode has no bits of its own.
  EXPECT_EQ(Profile::badgeIndex(44, 4, 2), 674);
  EXPECT_EQ(Profile::badgeIndex(-1, 1, 1), 4);
  EXPECT_EQ(Profile::badgeIndex(3, 5, 0), -1);
  EXPECT_FALSE(p.setBadge(3, 5, 0));
  EXPECT_FALSE(p.hasBadge(4, 0, 0));
}

TEST(Campaign, StationAndMissionFilesAndTheirChecks) {
  testenv::TempUserDirs dirs;
  SaveApp app;
  const std::string root = dirs.root();
  Profile plain("Commander");
  ASSERT_TRUE(plain.loadStations(writeCampaign(root + "/plain", 15, false)));
  const SpaceStation* s = plain.stations()[4];
  EXPECT_EQ(s->code(), "00");
  EXPECT_EQ(s->commander(), "commander");
  EXPECT_EQ(s->coordinate(), "coords");
  EXPECT_EQ(s->power(), "nuclear");
  EXPECT_FLOAT_EQ(s->tradeCommission(), 0.05f);
  const Mission* m = s->missions()[1];
  EXPECT_EQ(m->id(), 13);
  EXPECT_EQ(m->music(), 1);
  EXPECT_EQ(m->label(), "M13");
  ASSERT_EQ(m->rewards().size(), 2u);
  EXPECT_FLOAT_EQ(m->rewards().at("credits"), 100.0f) << "the first of two rewards of one name is kept";
  EXPECT_FLOAT_EQ(m->rewards().at("medal"), 0.0f);
  EXPECT_EQ(m->unlockList(), (std::vector<int32_t>{14, -1}));

  Profile data("Commander");
  ASSERT_TRUE(data.loadStations(writeCampaign(root + "/data", 15)));
  EXPECT_EQ(data.stations()[2]->code(), "07");
  EXPECT_EQ(data.stations()[2]->commander(), "Vega");
  EXPECT_EQ(data.stations()[2]->crew(), "few men");
  EXPECT_FLOAT_EQ(data.stations()[2]->tradeCommission(), 0.2f);
  EXPECT_EQ(data.findStationById(14), data.stations()[14]);
  EXPECT_EQ(data.findStationById(15), nullptr);

  // Flags go by list position, unlocks by id: a list whose ids are out of
  // order is reported.
  const std::string swapped = root + "/swapped/stations.xml";
  writeCampaign(root + "/swapped", 15);
  std::ifstream listIn(swapped);
  std::string text((std::istreambuf_iterator<char>(listIn)), {});
  const std::string first = "id=\"0\" config=\"" + root + "/swapped/station_0.xml\"";
  const std::string second = "id=\"1\" config=\"" + root + "/swapped/station_1.xml\"";
  const size_t a = text.find(first), b = text.find(second);
  ASSERT_NE(a, std::string::npos);
  ASSERT_NE(b, std::string::npos);
  text.replace(b, second.size(), first);
  text.replace(a, first.size(), second);
  writeText(swapped, text);
  Profile broken("Commander");
  ASSERT_TRUE(broken.loadStations(swapped));
  EXPECT_GT(broken.campaignProblems(), 0);

  Profile missing("Commander");
  EXPECT_FALSE(missing.loadStations(root + "/none.xml"));
  EXPECT_TRUE(missing.stations().empty());
}

}  // namespace
