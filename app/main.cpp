// The program: the single application object, and the entry that runs it.
#include "designer_app.hpp"

DesignerApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
