#include "app/program.h"

// The program takes no arguments.
int main() { return runProgram(); }
