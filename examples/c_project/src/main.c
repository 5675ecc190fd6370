// $ADD_HEADER$
#include "inc/calc.h"

int main(void) { return add(1, 2) == 3 ? 0 : 1; }
