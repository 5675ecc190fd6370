#include "quillet.h"

int main(int argc, char** argv) { return quillet::RunQuillet(argc, argv); }
