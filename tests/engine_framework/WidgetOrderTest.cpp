// A screen crowded with thousands of widgets keeps its list in depth order, widgets of one
// depth in the order they came, however they are added, raised, re-depthed and taken out;
// and a widget taken out inside an update is deleted only at the update's end.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <list>
#include <memory>
#include <random>
#include <vector>

#include "GameApp.h"
#include "ScreenBase.h"
#include "Widget.h"
#include "WidgetManager.h"

namespace {

class CrowdScreen : public ScreenBase {
 public:
  CrowdScreen() : ScreenBase("crowd") {}
  void prepare() override {}
  void init() override {}
  void postWidgetUpdate(int) override {
    if (afterWidgets) afterWidgets();
  }
  std::function<void()> afterWidgets;
};

class Probe : public Widget {
 public:
  explicit Probe(bool* deleted = nullptr) : deleted_(deleted) { setRect(0, 0, 4, 4); }
  ~Probe() override {
    if (deleted_) *deleted_ = true;
  }
  void update(int, ScreenBase*) override {
    if (onUpdate) onUpdate();
  }
  std::function<void()> onUpdate;

 private:
  bool* deleted_;
};

// The list as the screen has always kept it: appended, and with every sorted add the whole
// list sorted again by depth, stably, so widgets of one depth keep the order they had.
struct Reference {
  std::vector<Widget*> order;
  std::list<Widget*> owned;
  bool raised = false;

  int maxDepth() const {
    int depth = 0;
    for (const Widget* w : order) depth = std::max(depth, static_cast<int>(w->getZ()));
    return depth;
  }
  void sort() {
    std::stable_sort(order.begin(), order.end(), [](const Widget* a, const Widget* b) { return a->getZ() > b->getZ(); });
  }
  void add(Widget* w, bool noSort) {
    order.push_back(w);
    owned.push_back(w);
    if (!noSort) sort();
  }
  void remove(Widget* w) {
    order.erase(std::find(order.begin(), order.end(), w));
    owned.remove(w);
  }
  void update() {
    if (raised) sort();
    raised = false;
  }
};

class WidgetOrderTest : public ::testing::Test {
 protected:
  void SetUp() override { app_.setMousePosition(-1000, -1000); }
  GameApp app_;
};

TEST_F(WidgetOrderTest, ThousandsAddedRaisedAndTakenOutKeepDepthThenArrivalOrder) {
  std::unique_ptr<CrowdScreen> screen(new CrowdScreen());
  WidgetManager& manager = *screen->getWidgetManager();
  Reference ref;
  std::mt19937 random(34);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  // Made first and added in another order, so addresses say nothing of arrival.
  std::vector<Widget*> spare;
  for (int i = 0; i < 6000; ++i) spare.push_back(new Probe());
  std::shuffle(spare.begin(), spare.end(), random);
  const int depths[] = {0, 0, 5, 10, 10, 200, 200, 200, 300};
  int checks = 0;
  for (int step = 0; step < 9000; ++step) {
    const int what = pick(20);
    if (what < 11 && !spare.empty()) {
      // Added, sorted in or (as entities during the widget pass) appended; depth 0 takes
      // the next depth in front of all.
      Widget* w = spare.back();
      spare.pop_back();
      w->setZ(depths[pick(9)]);
      const bool noSort = pick(3) == 0;
      const int expectedDepth = w->getZ() < 1.0f ? ref.maxDepth() + 1 : static_cast<int>(w->getZ());
      screen->addWidget(w, noSort);
      ASSERT_EQ(static_cast<int>(w->getZ()), expectedDepth) << "step " << step;
      ref.add(w, noSort);
    } else if (what < 17 && !ref.order.empty()) {
      // Taken out; the caller owns it again, and it may come back later.
      Widget* w = ref.order[pick(static_cast<int>(ref.order.size()))];
      screen->removeWidget(w);
      ref.remove(w);
      spare.insert(spare.begin() + pick(static_cast<int>(spare.size()) + 1), w);
    } else if (what == 17 && !ref.order.empty()) {
      ref.order[pick(static_cast<int>(ref.order.size()))]->raise();
      ref.raised = true;
    } else if (what == 18 && !ref.order.empty()) {
      // A depth changed from outside: sorted in with the next sorted add.
      ref.order[pick(static_cast<int>(ref.order.size()))]->setZ(depths[1 + pick(8)]);
    } else {
      screen->update(16);
      ref.update();
    }
    if (step % 7 == 0 || step > 8900) {
      ASSERT_EQ(manager.widgets(), ref.order) << "step " << step;
      ASSERT_EQ(std::vector<Widget*>(screen->getWidgets().begin(), screen->getWidgets().end()),
                std::vector<Widget*>(ref.owned.begin(), ref.owned.end()))
          << "step " << step;
      ++checks;
    }
  }
  EXPECT_GT(ref.order.size(), 1000u);
  EXPECT_GT(checks, 1000);
  for (Widget* w : spare) delete w;
}

TEST_F(WidgetOrderTest, RemovalInsideAnUpdateWaitsForTheUpdatesEnd) {
  CrowdScreen* screen = new CrowdScreen();
  bool victimDeleted = false;
  Probe* victim = new Probe(&victimDeleted);
  Probe* remover = new Probe();
  std::vector<Probe*> crowd;
  for (int i = 0; i < 3000; ++i) {
    crowd.push_back(new Probe());
    screen->addWidget(crowd.back(), i % 2 == 0);
  }
  screen->addWidget(victim);
  screen->addWidget(remover);
  remover->onUpdate = [&] {
    screen->removeWidgetLater(victim);
    screen->removeWidgetLater(victim);  // asked twice, deleted once
    remover->onUpdate = nullptr;
  };
  bool checkedDuringUpdate = false;
  screen->afterWidgets = [&] {
    // Out of the manager's list at once, still owned and alive until the update ends.
    checkedDuringUpdate = true;
    EXPECT_FALSE(victimDeleted);
    EXPECT_FALSE(screen->getWidgetManager()->contains(victim));
    const auto& owned = screen->getWidgets();
    EXPECT_NE(std::find(owned.begin(), owned.end(), victim), owned.end());
  };
  screen->update(16);
  EXPECT_TRUE(checkedDuringUpdate);
  EXPECT_TRUE(victimDeleted);
  const auto& owned = screen->getWidgets();
  EXPECT_EQ(std::find(owned.begin(), owned.end(), victim), owned.end());
  EXPECT_EQ(owned.size(), crowd.size() + 1);
  EXPECT_EQ(screen->getWidgetManager()->widgets().size(), crowd.size() + 1);
  delete screen;
}

}  // namespace
