#include "desktop/side_by_side.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void Run_Side_By_Side(int count, const std::function<void(int)>& job) {
  std::atomic<int> next = 0;
  const auto worker = [&] {
    for (int i = next++; i < count; i = next++)
      job(i);
  };
  const int helpers = std::min(count, static_cast<int>(std::thread::hardware_concurrency())) - 1;
  std::vector<std::jthread> threads(static_cast<std::size_t>(std::max(0, helpers)));
  for (std::jthread& thread : threads)
    thread = std::jthread(worker);
  worker();
}
