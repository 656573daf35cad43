#include <iostream>

int main()
{
    std::cerr << "korvendal-xl-convert: not yet available\n";
    return 2;
}
