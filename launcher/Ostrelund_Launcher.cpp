// The program's main module: the units in their order, then the main routine.
#include "VK9_System.h"

#include <iterator>

namespace {

// The engine's units start first and end last, in this order.
constexpr TEngineUnit kUnits[] = {
    VK9_SystemUnit,
};

void MainRoutine() {}

}  // namespace

int main() { return RunProgram(kUnits, std::size(kUnits), MainRoutine); }
