#include "DynamicResources/RandomSeeder.h"

#include <cstdlib>
#include <ctime>

RandomSeeder::RandomSeeder() { std::srand(static_cast<unsigned>(std::time(nullptr))); }

RandomSeeder& randomSeeder() {
  static RandomSeeder seeder;
  return seeder;
}
