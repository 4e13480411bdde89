#pragma once
// The level's economy: the credits at hand, the interest a finished wave pays, and
// what a tower costs to upgrade and fetches when sold.

class xBaseTowerEntity;

class LevelEconomy {
 public:
  // The maximum-credits mode keeps the purse full, whatever is bought or earned.
  static constexpr double kMaxCredits = 40000.0;

  explicit LevelEconomy(bool maxCredits) : maxCredits_(maxCredits) {}

  double credits() const { return credits_; }
  // The level file's starting funds (the maximum-credits mode starts full).
  void setStartingCredits(double credits) { credits_ = maxCredits_ ? kMaxCredits : credits; }
  // What a checkpoint keeps of the purse; it comes back as it was recorded, even in the
  // maximum-credits mode.
  struct Snapshot {
    double credits = 0.0;
    int interestPercent = 0;
  };
  Snapshot snapshot() const { return {credits_, interestPercent_}; }
  void restore(const Snapshot& s) {
    credits_ = s.credits;
    interestPercent_ = s.interestPercent;
  }
  // Earned (positive) or spent (negative) credits.
  void add(double amount);
  bool affords(double price) const { return price <= credits_; }

  int interestPercent() const { return interestPercent_; }
  void setInterestPercent(int percent) { interestPercent_ = percent; }
  // A finished wave pays its interest on the credits at hand.
  void payInterest();

  // What the next level of a tower costs and what selling it gives (the tower
  // figures hold the rule, so the info texts quote the same numbers).
  static int upgradePrice(const xBaseTowerEntity& tower);
  static double sellPrice(const xBaseTowerEntity& tower);

 private:
  bool maxCredits_;
  double credits_ = 20000.0;
  int interestPercent_ = 0;
};
