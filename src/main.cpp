#include "timing_driver.h"

int main(int argc, char** argv) {
    return runMapbench(argc, argv);
}
