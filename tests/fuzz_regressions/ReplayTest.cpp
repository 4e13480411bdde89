// Every input a fuzzer once broke a reader with, and every seed, goes through
// that reader again: no finding (a NaN reaching drawing, a lost save, an exit),
// and under the sanitizer build no crash, leak or undefined behaviour.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "RegularFile.h"
#include "Targets.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> g_findings;

void recordFinding(const std::string& what) { g_findings.push_back(what); }

std::string readAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool matches(const std::string& pattern, const std::string& name) {
  const size_t star = pattern.find('*');
  if (star == std::string::npos) return pattern == name;
  const std::string head = pattern.substr(0, star);
  const std::string tail = pattern.substr(star + 1);
  return name.size() >= head.size() + tail.size() && name.compare(0, head.size(), head) == 0 &&
         name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

// The seeds of fuzz/seeds.txt (globs in the last path part only) and the kept inputs.
std::vector<fs::path> inputsOf(const std::string& target) {
  std::vector<fs::path> inputs;
  std::ifstream list("fuzz/seeds.txt");
  std::string name;
  std::string pattern;
  while (list >> name) {
    if (name[0] == '#') {
      std::getline(list, pattern);
      continue;
    }
    list >> pattern;
    if (name != target) continue;
    const fs::path p(pattern);
    std::error_code ec;
    for (const fs::directory_entry& e : fs::directory_iterator(p.parent_path(), ec)) {
      if (e.is_regular_file() && matches(p.filename().string(), e.path().filename().string())) {
        inputs.push_back(e.path());
      }
    }
  }
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator("fuzz/regressions/" + target, ec)) {
    if (e.is_regular_file()) inputs.push_back(e.path());
  }
  return inputs;
}

using Entry = void (*)(const uint8_t*, size_t);

struct Target {
  const char* name;
  Entry entry;
};

const Target kTargets[] = {
#define STARMOOR_LIST_FUZZ_TARGET(name, function) {#name, &fuzz::function},
    STARMOOR_FUZZ_TARGETS(STARMOOR_LIST_FUZZ_TARGET)
#undef STARMOOR_LIST_FUZZ_TARGET
};

class Replay : public ::testing::TestWithParam<Target> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(fuzz::setUp());
    fuzz::setFindingHandler(&recordFinding);
  }
};

TEST_P(Replay, SeedsAndKeptInputsPassTheirReader) {
  const Target& target = GetParam();
  const std::vector<fs::path> inputs = inputsOf(target.name);
  ASSERT_FALSE(inputs.empty()) << "no seed for " << target.name;
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.string());
    const std::string bytes = readAll(input);
    g_findings.clear();
    target.entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    for (const std::string& what : g_findings) ADD_FAILURE() << what;
  }
}

// Made here rather than kept: a document nested far deeper than the parser's
// stack allows, and one a byte over the size any content file may have.
TEST_P(Replay, DeepAndHugeInputsAreRefusedWithoutHarm) {
  const Target& target = GetParam();
  std::string deep = "<?xml version=\"1.0\"?><Strings>";
  for (int i = 0; i < 100000; ++i) deep += "<a b=\"1\">";
  std::string huge = "<Stage>";
  huge.resize(bge::kMaxContentFileBytes + 1, ' ');
  for (const std::string* input : {&deep, &huge}) {
    SCOPED_TRACE(input == &deep ? "deep" : "huge");
    g_findings.clear();
    target.entry(reinterpret_cast<const uint8_t*>(input->data()), input->size());
    for (const std::string& what : g_findings) ADD_FAILURE() << what;
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, Replay, ::testing::ValuesIn(kTargets),
                         [](const ::testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
