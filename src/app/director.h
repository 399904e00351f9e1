#pragma once

// The program's controller: it owns everything the panel shows and handles
// its input.
class Director {
 public:
  Director();
  ~Director();
  Director(const Director&) = delete;
  Director& operator=(const Director&) = delete;
};
