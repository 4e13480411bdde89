#pragma once
#include <string>

#include "Foundation/QlnExport.h"
#include "Foundation/Templates/xArray.h"

namespace QuillonPHX2D {

class xShape;

// A collision category: its own flag word and per-partner overrides (pair entries).
class QLN_API xCollisionCategory {
 public:
  enum Flags : unsigned long { Ignore = 1ul, Notify = 2ul, LetGoThrough = 4ul };

  xCollisionCategory(const std::string &name, unsigned long flags);
  xCollisionCategory(const xCollisionCategory &) = default;
  xCollisionCategory &operator=(const xCollisionCategory &) = default;

  const std::string &categoryID() const { return name_; }
  unsigned long categoryFlags() const { return flags_; }
  bool isIgnore() const { return (flags_ & Ignore) != 0; }
  bool isNotify() const { return (flags_ & Notify) != 0; }
  bool isLetGoThrough() const { return (flags_ & LetGoThrough) != 0; }

  // Flags of the first pair entry naming the category at index, or 0.
  unsigned long pairFlagsForCategory(int index) const;
  void addPairFlags(int index, unsigned long flags);
  xArray<int> categoryPairsArray() const { return pairIndices_; }
  xArray<unsigned long> categoryPairsFlagsArray() const { return pairFlags_; }

 private:
  std::string name_;
  unsigned long flags_;
  xArray<int> pairIndices_;
  xArray<unsigned long> pairFlags_;
};

// The process-wide category registry with the pairwise rules; created on first use, never
// destroyed. A category's index in the list is what pair entries refer to.
class QLN_API xCategoryDispatcher {
 public:
  static xCategoryDispatcher *Instance();
  static xCategoryDispatcher *cdp_ptrInstance;
  // A registry of its own with the built-in table, apart from the singleton (the game's
  // three-dimensional world keeps one). The caller owns it.
  static xCategoryDispatcher *CreateSeparateInstance();
  static void DestroySeparateInstance(xCategoryDispatcher *d);

  void createCategory(const std::string &name, unsigned long flags);
  // False when the source is unknown or the new name is taken.
  bool copyCategory(const std::string &source, const std::string &name);
  bool registerCategoryPair(const std::string &first, const std::string &second, unsigned long flags);
  xCollisionCategory *findCategoryByName(const std::string &name);
  int findCategoryIndex(const xCollisionCategory *c) const;
  int categoriesCount() const { return categories_.size(); }

  void configureFlagsForQuery(const xCollisionCategory *a, const xCollisionCategory *b);
  void updateFlags(unsigned long &fa, unsigned long &fb) const;
  unsigned long queryFlagsA() const { return queryFlagsA_; }
  unsigned long queryFlagsB() const { return queryFlagsB_; }
  // The flags each shape of a pair acts with: the pair entry when non-zero, else its
  // category's own flags; a shape without a category acts with 0.
  void effectiveFlags(xShape *a, xShape *b, unsigned long &fa, unsigned long &fb);
  // The same for shapes of categories a and b (either may be null).
  void effectiveFlags(const xCollisionCategory *a, const xCollisionCategory *b, unsigned long &fa,
                      unsigned long &fb);

  bool shouldIgnore(xShape *a, xShape *b);
  bool shouldLetGoThrough(xShape *a, xShape *b);
  void init() {}

  xCategoryDispatcher(const xCategoryDispatcher &) = delete;
  xCategoryDispatcher &operator=(const xCategoryDispatcher &) = delete;

 private:
  xCategoryDispatcher();
  ~xCategoryDispatcher();

  unsigned long queryFlagsA_;
  unsigned long queryFlagsB_;
  xArray<xCollisionCategory *> categories_;
};

}  // namespace QuillonPHX2D
