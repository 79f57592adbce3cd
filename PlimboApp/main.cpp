#include "PlimboApplication.h"

int main(int argc, char** argv) {
    return plimbo::PlimboApplication::main(argc, argv);
}
