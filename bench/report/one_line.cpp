// The floor of `kxc2tool --version`: a C++ program that prints one line.
#include <iostream>

int main() { std::cout << "one line of C++\n"; }
