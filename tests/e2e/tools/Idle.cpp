// Waits until it is killed. Kept running beside the program under test so
// the Wine server and its desktop stay up for the whole test run.
#include <windows.h>

int main() {
  ::Sleep(INFINITE);
  return 0;
}
