#include "store/startup.h"

int main(int argc, char *argv[])
{
    return vaultMain(argc, argv);
}
