#include "Startup.h"

int main(int argc, char** argv) {
    return RunVelitra(argc, argv);
}
