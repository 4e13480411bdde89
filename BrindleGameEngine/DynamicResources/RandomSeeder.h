#pragma once

// Seeds the runtime's random generator exactly once, the first time anything
// that draws a random variant or track asks for it.
class RandomSeeder {
 public:
  RandomSeeder(const RandomSeeder&) = delete;
  RandomSeeder& operator=(const RandomSeeder&) = delete;

 private:
  friend RandomSeeder& randomSeeder();
  RandomSeeder();
};

// The one seeder; created (and srand called with the current time) on the first call.
RandomSeeder& randomSeeder();
