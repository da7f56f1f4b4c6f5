// What a piece of work asks of the heap: the test program replaces the
// global operator new (heap_meter.cpp) to count every request while a
// measure() runs. Blocks from the system layer (the model files) and from
// the image decoder do not go through it.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace faults {

struct Measure {
    double ms = 0;
    std::size_t largest = 0;  // the largest single request
    std::size_t total = 0;    // every byte asked for, freed or not
};

Measure measure(const std::function<void()>& work);

// Prints one row of the limits tables: label, input bytes, outcome, time
// and heap, and remembers the slowest row for the suite's last line.
void printRow(const std::string& label, std::size_t size, const std::string& result, const Measure& m);
void printSlowest();

}  // namespace faults
