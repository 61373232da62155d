// Independent pieces of work done at the same time on the machine's cores, for the decoding of
// pictures at the start.
#pragma once

#include <functional>

// Runs job(0) .. job(count - 1), each once and in no particular order, on as many threads as the
// machine has cores, this one among them; returns when all have run.
void Run_Side_By_Side(int count, const std::function<void(int)>& job);
