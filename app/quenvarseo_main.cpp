// QuenvarSEO 原创度检测工具: the desktop program.
#include "ui/ui.h"

int main(int argc, char** argv) {
    quenvar::program_exit(quenvar::program_start(argc, argv));
}
