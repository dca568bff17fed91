#include "driver_program.h"

int main(int argc, char** argv) {
    return runMapbench(argc, argv);
}
