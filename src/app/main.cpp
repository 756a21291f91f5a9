// Vestralon: wires the start-up sequence; everything else lives in the libraries.
#include <cstdio>

int main() {
    std::puts("Vestralon: das Hauptfenster folgt in Kürze.");
    return 0;
}
