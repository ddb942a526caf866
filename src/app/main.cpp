#include <string>
#include <vector>

#include "app/program.h"

// The arguments go to the program as they are; Qt never sees them.
int main(int argc, char* argv[]) {
    return runProgram(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
}
