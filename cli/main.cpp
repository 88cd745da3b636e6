#include "run.hpp"

#include <iostream>

int main(int argc, char** argv) {
    // Output goes out in large blocks of its own; no need to keep in step with C stdio.
    std::ios::sync_with_stdio(false);
    return cli::run(argc, argv, std::cin, std::cout, std::cerr);
}
