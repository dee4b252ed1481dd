// The program's entry point.
#include <cstdio>

int main() {
    std::fprintf(stderr, "akari: the game is not assembled yet\n");
    return 1;
}
