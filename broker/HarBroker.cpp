#include <cstdio>

// Until the repository server exists this only proves the native build.
int main()
{
    std::puts("harbroker: the repository server is not built yet.");
    return 0;
}
