#pragma once

#include <functional>

// The program's random numbers, as Basic's Rnd and Randomize give them.
// Until the first Randomize the sequence is the same in every run.
double Rnd();     // uniform in [0, 1)
void Randomize(); // reseeds from the system timer

// Tests replace the numbers with their own; an empty function restores the generator.
using RndSource = std::function<double()>;
void setRndSource(RndSource source);
